#include "windows/messages/spelling_words.h"

#include "platform/qt_text.h"
#include "widgets/hints.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace zeilwerk {
namespace {

constexpr int kPlaceRole = Qt::UserRole + 1;  // on a place's row: its finding's index
constexpr int kWordRole = Qt::UserRole + 2;   // on a word's row: the word
constexpr int kGameWordsRole = Qt::UserRole + 3;

QString hintOf(const Finding& f) {
    return QString::fromStdString(f.reason);
}

}  // namespace

SpellingWords::SpellingWords(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    model = new QStandardItemModel(this);
    model->setHorizontalHeaderLabels({QStringLiteral("Wort"), QStringLiteral("Anzahl"), QStringLiteral("Hinweis")});
    tree = new QTreeView(this);
    tree->setModel(model);
    tree->setUniformRowHeights(true);
    tree->setAllColumnsShowFocus(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->header()->setStretchLastSection(true);
    tree->header()->resizeSection(0, 150);
    tree->header()->resizeSection(1, 60);
    setHint(tree, QStringLiteral("Jedes Wort, das die Prüfung nicht kennt, einmal: die wahrscheinlichsten Tippfehler "
                                  "oben; aufgeklappt seine Stellen, ein Klick legt die Nachricht ins Eingabefeld."));
    layout->addWidget(tree, 1);

    auto* buttons = new QHBoxLayout;
    acceptButton = new QPushButton(QStringLiteral("Zur Wortliste des Spiels"), this);
    setHint(acceptButton, QStringLiteral("Nimmt das gewählte Wort in die Wortliste des Spiels auf: es gilt von nun an als richtig."));
    ignoreButton = new QPushButton(QStringLiteral("Ignorieren"), this);
    setHint(ignoreButton, QStringLiteral("Blendet das gewählte Wort für diese Sitzung aus."));
    replaceButton = new QPushButton(QStringLiteral("Ersetzen…"), this);
    setHint(replaceButton, QStringLiteral("Ersetzt das gewählte Wort an allen seinen Stellen im Spiel; zeigt vorher jede "
                                          "Zeile, die sich ändert."));
    acceptAllButton = new QPushButton(QStringLiteral("alle übernehmen"), this);
    setHint(acceptAllButton, QStringLiteral("Nimmt alle Wörter des Spiels in die Wortliste des Spiels auf."));
    buttons->addWidget(acceptButton);
    buttons->addWidget(ignoreButton);
    buttons->addWidget(replaceButton);
    buttons->addStretch(1);
    buttons->addWidget(acceptAllButton);
    layout->addLayout(buttons);

    connect(acceptButton, &QPushButton::clicked, this, [this] {
        if (const std::u16string w = chosenWord(); !w.empty() && accept)
            accept(w);
    });
    connect(ignoreButton, &QPushButton::clicked, this, [this] {
        if (const std::u16string w = chosenWord(); !w.empty() && ignore)
            ignore(w);
    });
    connect(replaceButton, &QPushButton::clicked, this, [this] {
        if (const std::u16string w = chosenWord(); !w.empty() && replace)
            replace(w);
    });
    connect(acceptAllButton, &QPushButton::clicked, this, [this] {
        if (!m_gameWords.empty() && acceptAll)
            acceptAll(m_gameWords);
    });
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        updateButtons();
        const QVariant place = current.siblingAtColumn(0).data(kPlaceRole);
        if (place.isValid() && openPlace)
            openPlace(m_findings[place.toULongLong()]);
    });
    updateButtons();
}

void SpellingWords::clear() {
    model->removeRows(0, model->rowCount());
    m_findings.clear();
    m_gameWords.clear();
    updateButtons();
}

void SpellingWords::setFindings(const std::vector<Finding>& findings,
                                const std::function<QString(const MessagePlace&)>& placeText) {
    model->removeRows(0, model->rowCount());
    m_findings = findings;
    std::map<std::u16string, std::vector<size_t>> byWord;
    for (size_t i = 0; i < m_findings.size(); ++i)
        byWord[m_findings[i].word].push_back(i);
    std::vector<const std::vector<size_t>*> order;
    for (const auto& [word, places] : byWord)
        order.push_back(&places);
    // A rare word next to a much used word of the game first, then words near nothing; the
    // rarer before the more frequent.
    std::stable_sort(order.begin(), order.end(), [&](const auto* a, const auto* b) {
        const Finding& fa = m_findings[a->front()];
        const Finding& fb = m_findings[b->front()];
        if (fa.meant.empty() != fb.meant.empty())
            return !fa.meant.empty();
        if (fa.nearCount != fb.nearCount)
            return fa.nearCount > fb.nearCount;
        return a->size() < b->size();
    });
    for (const std::vector<size_t>* places : order) {
        const Finding& first = m_findings[places->front()];
        auto* word = new QStandardItem(fromU16(first.word));
        word->setData(fromU16(first.word), kWordRole);
        auto* count = new QStandardItem(QStringLiteral("%1 ×").arg(places->size()));
        auto* hint = new QStandardItem(hintOf(first));
        for (const size_t i : *places) {
            const Finding& f = m_findings[i];
            auto* at = new QStandardItem(placeText(f.place) + QStringLiteral(", Zeile %1").arg(f.line));
            at->setData(QVariant::fromValue<qulonglong>(i), kPlaceRole);
            word->appendRow({at, new QStandardItem(), new QStandardItem()});
        }
        model->appendRow({word, count, hint});
        // A place's text is long: it takes the row's width.
        for (int r = 0; r < word->rowCount(); ++r)
            tree->setFirstColumnSpanned(r, word->index(), true);
    }
    updateButtons();
}

QStandardItem* SpellingWords::gameWordsRow() const {
    for (int r = model->rowCount() - 1; r >= 0; --r)
        if (model->item(r)->data(kGameWordsRole).isValid())
            return model->item(r);
    return nullptr;
}

void SpellingWords::setGameWords(const std::vector<std::pair<std::u16string, int>>& words) {
    if (QStandardItem* row = gameWordsRow())
        model->removeRow(row->row());
    m_gameWords.clear();
    if (words.empty())
        return updateButtons();
    auto* title = new QStandardItem(QStringLiteral("Wörter des Spiels (%1)").arg(words.size()));
    title->setData(true, kGameWordsRole);
    auto* hint = new QStandardItem(QStringLiteral("Das Wörterbuch kennt sie nicht, das Spiel nimmt sie oft: keine Befunde."));
    for (const auto& [word, count] : words) {
        m_gameWords.push_back(word);
        title->appendRow({new QStandardItem(fromU16(word)), new QStandardItem(QStringLiteral("%1 ×").arg(count)),
                          new QStandardItem()});
    }
    model->appendRow({title, new QStandardItem(), hint});
    updateButtons();
}

void SpellingWords::setReasons(const std::map<std::u16string, std::string>& reasons) {
    for (int r = 0; r < model->rowCount(); ++r) {
        const QVariant word = model->item(r)->data(kWordRole);
        if (!word.isValid())
            continue;
        if (const auto reason = reasons.find(toU16(word.toString())); reason != reasons.end())
            model->item(r, 2)->setText(QString::fromStdString(reason->second));
    }
}

void SpellingWords::removeWord(const std::u16string& word) {
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->item(r)->data(kWordRole).toString() == fromU16(word)) {
            model->removeRow(r);
            break;
        }
    updateButtons();
}

int SpellingWords::wordCount() const {
    return model->rowCount() - (gameWordsRow() ? 1 : 0);
}

std::u16string SpellingWords::chosenWord() const {
    QModelIndex at = tree->currentIndex().siblingAtColumn(0);
    if (at.parent().isValid() && at.parent().data(kWordRole).isValid())
        at = at.parent();
    const QVariant word = at.data(kWordRole);
    return word.isValid() ? toU16(word.toString()) : std::u16string();
}

std::u16string SpellingWords::meantWord(const std::u16string& word) const {
    for (const Finding& f : m_findings)
        if (f.word == word) {
            if (!f.meant.empty())
                return f.meant;
            break;
        }
    // The suggestions, once arrived, stand in the reason: "(Vorschläge: a, b)".
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->item(r)->data(kWordRole).toString() == fromU16(word)) {
            const QString hint = model->item(r, 2)->text();
            const int open = hint.indexOf(QStringLiteral(": "), hint.indexOf(u'('));
            if (hint.indexOf(u'(') < 0 || open < 0)
                return {};
            return toU16(hint.mid(open + 2).section(u',', 0, 0).section(u')', 0, 0).trimmed());
        }
    return {};
}

std::vector<std::u16string> SpellingWords::words() const {
    std::vector<std::u16string> out;
    for (int r = 0; r < model->rowCount(); ++r)
        if (const QVariant word = model->item(r)->data(kWordRole); word.isValid())
            out.push_back(toU16(word.toString()));
    return out;
}

void SpellingWords::updateButtons() {
    const bool chosen = !chosenWord().empty();
    acceptButton->setEnabled(chosen);
    ignoreButton->setEnabled(chosen);
    replaceButton->setEnabled(chosen);
    acceptAllButton->setEnabled(!m_gameWords.empty());
}

}  // namespace zeilwerk
