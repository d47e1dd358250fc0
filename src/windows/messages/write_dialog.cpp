#include "windows/messages/write_dialog.h"

#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <set>
#include <utility>

namespace zeilwerk {

QString changeSummary(const std::vector<WordReplacement>& plan) {
    std::set<std::pair<bool, int>> files;
    for (const WordReplacement& r : plan)
        files.insert({r.change.place.kind == MessageKind::Map, r.change.place.kind == MessageKind::Map ? r.change.place.source : 0});
    const int messages = static_cast<int>(plan.size()), count = static_cast<int>(files.size());
    return (messages == 1 ? QStringLiteral("1 Nachricht") : QStringLiteral("%1 Nachrichten").arg(messages)) +
           (count == 1 ? QStringLiteral(" in 1 Datei") : QStringLiteral(" in %1 Dateien").arg(count));
}

WordReplacement messageEdit(const GameMessage& message, std::vector<std::u16string> lines) {
    WordReplacement edit{{message.place, messageChecksum(message.lines), std::move(lines)}, message.lines, {}, 0};
    const size_t most = std::max(edit.before.size(), edit.change.lines.size());
    for (size_t i = 0; i < most; ++i) {
        const bool had = i < edit.before.size(), has = i < edit.change.lines.size();
        if (had != has || (had && edit.before[i] != edit.change.lines[i]))
            edit.changedLines.push_back(static_cast<int>(i));
    }
    edit.count = static_cast<int>(edit.changedLines.size());
    return edit;
}

WriteDialog::WriteDialog(const QString& title, const std::vector<WordReplacement>& plan,
                         const std::function<QString(const MessagePlace&)>& placeOf, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    summary = new QLabel(QStringLiteral("Ins Spiel geschrieben werden %1:").arg(changeSummary(plan)), this);
    layout->addWidget(summary);

    QString text;
    for (const WordReplacement& r : plan) {
        text += placeOf(r.change.place) + u'\n';
        for (int line : r.changedLines) {
            const auto at = static_cast<size_t>(line);
            const QString before = at < r.before.size() ? fromU16(r.before[at]) : QStringLiteral("(neue Zeile)");
            const QString after = at < r.change.lines.size() ? fromU16(r.change.lines[at]) : QStringLiteral("(Zeile fällt weg)");
            text += QStringLiteral("  Zeile %1:  %2\n        →  %3\n").arg(line + 1).arg(before, after);
        }
    }
    preview = new QPlainTextEdit(text, this);
    preview->setReadOnly(true);
    preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    preview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    preview->setMinimumSize(460, 160);
    layout->addWidget(preview, 1);

    warning = new QLabel(QStringLiteral("<b>Vorher das Projekt im Maker schließen!</b> Ist es dort noch offen, "
                                        "überschreibt der Maker diese Änderungen beim nächsten Speichern. "
                                        "Jede Datei wird vorher gesichert; „Rückgängig“ holt sie zurück."),
                         this);
    warning->setWordWrap(true);
    layout->addWidget(warning);

    auto* buttons = new QDialogButtonBox(this);
    write = buttons->addButton(QStringLiteral("Ins Spiel schreiben"), QDialogButtonBox::AcceptRole);
    cancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    cancel->setDefault(true);  // Enter must not write by accident
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace zeilwerk
