#include "windows/messages/messages_window.h"

#include "core/game/game_folder.h"
#include "core/game/game_writer.h"
#include "core/game/word_replace.h"
#include "core/platform/code_page.h"
#include "look/game_look.h"
#include "platform/paths.h"
#include "platform/qt_text.h"
#include "spelling/game_check.h"
#include "spelling/speller.h"
#include "spelling/word_list.h"
#include "widgets/help_line.h"
#include "widgets/hints.h"
#include "widgets/messages.h"
#include "windows/messages/messages_model.h"
#include "windows/messages/spelling_words.h"
#include "windows/messages/write_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace zeilwerk {
namespace {

// Findings go to the window in batches of this many messages checked: often enough for the
// progress, seldom enough that the tree is not relaid out for each.
constexpr int kCheckBatch = 4000;
// A game or a filter with no more messages than this shows them with their groups open.
constexpr int kExpandAtMost = 500;

}  // namespace

TForm5::TForm5(const Platform& platform, const Windows& windows)
    : ToolWindow(QStringLiteral("Nachrichten"), QSize(520, 420), false),
      m_platform(platform),
      m_windows(windows),
      m_job([this](BackgroundJob::Task task) { QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection); }) {
    makeResizable(QSize(320, 200));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Suchen:"), this);
    search = new QLineEdit(this);
    search->setClearButtonEnabled(true);
    setHint(search, QStringLiteral("Zeigt nur die Nachrichten, in denen dieser Text vorkommt; Groß- und Kleinschreibung zählen nicht."));
    label->setBuddy(search);
    findingFilter = new QComboBox(this);
    findingFilter->addItems({QStringLiteral("Alle Nachrichten"), QStringLiteral("Mit Befund")});
    for (const FindingKindName& k : kFindingKinds)
        findingFilter->addItem(QString::fromUtf8(k.label));
    setHint(findingFilter, QStringLiteral("Zeigt nach „Prüfen“ nur die Nachrichten mit einem Befund dieser Art."));
    top->addWidget(label);
    top->addWidget(search, 1);
    top->addWidget(findingFilter);
    layout->addLayout(top);

    auto* buttons = new QHBoxLayout;
    reload = new QPushButton(QStringLiteral("Neu laden"), this);
    setHint(reload, QStringLiteral("Liest die Nachrichten des Spielordners noch einmal."));
    check = new QCheckBox(QStringLiteral("Prüfen"), this);
    setHint(check, 
        QStringLiteral("Prüft jede Nachricht: Breite, Zeilen, Codes, Farben, Tempo, Helden und Rechtschreibung."));
    writeBack = new QPushButton(QStringLiteral("Ins Spiel schreiben"), this);
    setHint(writeBack, QStringLiteral("Schreibt die gewählte Nachricht, wie sie jetzt im Eingabefeld steht, in die "
                                      "Dateien des Spiels; jede Datei wird vorher gesichert."));
    undo = new QPushButton(QStringLiteral("Rückgängig"), this);
    setHint(undo, QStringLiteral("Holt die Dateien vor dem letzten Schreiben aus der Sicherung zurück."));
    buttons->addWidget(reload);
    buttons->addWidget(check);
    buttons->addStretch(1);
    buttons->addWidget(writeBack);
    buttons->addWidget(undo);
    layout->addLayout(buttons);

    model = new MessagesModel;
    model->setParent(this);
    list = new QTreeView(this);
    list->setModel(model);
    list->setUniformRowHeights(true);  // keeps a tree of tens of thousands of rows fast
    list->setAllColumnsShowFocus(true);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(1, QHeaderView::Interactive);
    list->header()->resizeSection(1, 140);
    spellingWords = new SpellingWords(this);
    views = new QTabWidget(this);
    views->addTab(list, QStringLiteral("Nachrichten"));
    views->addTab(spellingWords, QStringLiteral("Rechtschreibung"));
    layout->addWidget(views, 1);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    // From the check box on to the list, as before the write buttons came; they follow it.
    setTabOrder(check, list);
    setTabOrder(list, writeBack);
    setTabOrder(writeBack, undo);
    setHint(list, QStringLiteral("Ein Klick legt die Nachricht ins Eingabefeld und ihr Gesicht und Fenster in die "
                                  "Vorschau; ein Rechtsklick auf einen Rechtschreibbefund nimmt das Wort auf."));

    auto* bottom = new QHBoxLayout;
    progress = new QProgressBar(this);
    progress->setTextVisible(false);
    progress->setMaximumWidth(160);
    progress->hide();
    statusLine = new QLabel(this);
    statusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bottom->addWidget(progress);
    bottom->addWidget(statusLine, 1);
    layout->addLayout(bottom);

    // The hints go to the input window's help line, as every window's do.
    auto* help = new HelpBinding(this, [this](QWidget* sender) {
        if (m_windows.group.showHelp)
            m_windows.group.showHelp(helpTextOf(sender));
    });
    for (QWidget* w : {static_cast<QWidget*>(search), static_cast<QWidget*>(findingFilter), static_cast<QWidget*>(reload),
                       static_cast<QWidget*>(check), static_cast<QWidget*>(list), static_cast<QWidget*>(spellingWords->tree),
                       static_cast<QWidget*>(spellingWords->acceptButton), static_cast<QWidget*>(spellingWords->ignoreButton), static_cast<QWidget*>(spellingWords->replaceButton),
                       static_cast<QWidget*>(spellingWords->acceptAllButton), static_cast<QWidget*>(writeBack),
                       static_cast<QWidget*>(undo)})
        help->bind(w);

    Messages& messages = *m_platform.messages;
    connect(search, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(findingFilter, &QComboBox::currentIndexChanged, this, [this] { applyFilter(); });
    connect(reload, &QPushButton::clicked, this, [this, &messages] { guarded(messages, [this] { readGame(); }); });
    connect(check, &QCheckBox::toggled, this, [this, &messages] { guarded(messages, [this] { checkGame(); }); });
    connect(writeBack, &QPushButton::clicked, this, [this, &messages] { guarded(messages, [this] { writeSelected(); }); });
    connect(undo, &QPushButton::clicked, this, [this, &messages] { guarded(messages, [this] { undoWrite(); }); });
    askUser = [](QDialog& question) { question.exec(); };
    connect(list, &QWidget::customContextMenuRequested, this, [this, &messages](QPoint at) {
        guarded(messages, [&] {
            if (const std::unique_ptr<QMenu> menu = contextMenu(list->indexAt(at)))
                menu->exec(list->viewport()->mapToGlobal(at));
        });
    });
    connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, &messages](const QModelIndex& current) { guarded(messages, [&] { takeMessage(current); }); });
    spellingWords->openPlace = [this, &messages](const Finding& f) {
        guarded(messages, [&] {
            if (const GameMessage* m = model->messageAt(f.place))
                showMessage(*m);
        });
    };
    spellingWords->accept = [this, &messages](const std::u16string& word) { guarded(messages, [&] { acceptWord(word); }); };
    spellingWords->ignore = [this, &messages](const std::u16string& word) { guarded(messages, [&] { ignoreWord(word); }); };
    spellingWords->replace = [this, &messages](const std::u16string& word) { guarded(messages, [&] { replaceWord(word); }); };
    spellingWords->acceptAll = [this, &messages](const std::vector<std::u16string>& words) {
        guarded(messages, [&] { acceptWords(words); });
    };
    // Another folder: what is shown, or being read, belongs to the one before.
    if (m_windows.group.watchGameFolder)
        m_windows.group.watchGameFolder(this, [this] {
            if (m_folder.empty())
                return;
            cancelWork();
            model->clear();
            spellingWords->clear();
            m_ignored.clear();
            m_folder.clear();
            m_read = false;
            m_problem = QStringLiteral("Anderer Spielordner: „Neu laden“ liest ihn.");
            showStatus();
        });
}

TForm5::~TForm5() = default;

void TForm5::openWindow() {
    show();
    raise();
    activateWindow();
    search->setFocus();  // so the user can type what to look for at once
    const std::filesystem::path folder = inFolder(m_platform.settingsFolder, gameFolderText());
    if (folder != m_folder || (!m_read && !m_working))
        readGame();
}

void TForm5::cancelWork() {
    m_job.abandon();
    // What the stopped work posted before it saw the flag is left unread.
    ++m_run;
    if (m_working && !m_checking)
        m_problem = QStringLiteral("Das Lesen wurde abgebrochen.");
    m_working = false;
    m_checking = false;
    m_suggesting = false;
    progress->hide();
}

void TForm5::readGame() {
    cancelWork();
    model->clear();
    spellingWords->clear();
    m_folder = inFolder(m_platform.settingsFolder, gameFolderText());
    m_read = false;
    m_problem.clear();
    m_parts = 0;
    progress->setRange(0, 0);
    progress->show();
    const int run = ++m_run;
    m_working = true;
    m_job.start(
        [this, run, folder = m_folder](const BackgroundJob::Context& job) {
            const bool complete = readGameMessages(
                folder, CodePage::system(),
                [&](GamePart&& part) {
                    auto shared = std::make_shared<GamePart>(std::move(part));
                    job.hand([this, run, shared] { takePart(run, *shared); });
                },
                [&] { return job.stop.load(); });
            job.hand([this, run, complete] { readingDone(run, complete, QString()); });
        },
        [this, run](const std::string& failure) { readingDone(run, false, QString::fromStdString(failure)); });
    showStatus();
}

void TForm5::takePart(int run, GamePart& part) {
    if (run != m_run)
        return;
    if (part.names)
        progress->setRange(0, part.parts);
    else
        progress->setValue(++m_parts);
    model->addPart(std::move(part));
    showStatus();
}

void TForm5::readingDone(int run, bool complete, const QString& failure) {
    if (run != m_run)
        return;
    m_working = false;
    m_read = complete;
    m_problem = failure;
    progress->hide();
    openSmallGroups();
    showStatus();
    if (complete && check->isChecked())
        checkGame();
}

void TForm5::checkGame() {
    if (m_checking)
        cancelWork();
    if (model->findingCount()) {
        model->clearFindings();
        openSmallGroups();
    }
    spellingWords->clear();
    showStatus();
    // A game still being read is checked when it is complete.
    if (!check->isChecked() || m_working || !m_read)
        return;
    m_checking = true;
    m_problem.clear();  // a check that failed before
    progress->setRange(0, model->messageCount());
    progress->setValue(0);
    progress->show();
    // The dictionary is opened on the worker too: it takes a moment, and a speller serves one thread.
    GameCheck work;
    work.heroes = namesForChecks(model->heroNames(), CodePage::system());
    work.settings = m_windows.group.checkSettings ? m_windows.group.checkSettings() : CheckSettings();
    work.dictionary = m_windows.group.dictionary ? m_windows.group.dictionary() : std::string();
    work.dictionaryFolders = dictionaryFolders(m_platform.programFolder);
    work.wordList = wordListPath(m_platform.settingsFolder, m_folder);
    work.names = model->gameNames();
    work.mapNames = model->mapNames();
    const int run = ++m_run;
    m_working = true;
    m_job.start(
        [this, run, work = std::move(work), lists = model->messageLists()](const BackgroundJob::Context& job) {
            SpellingOutput spelling;
            spelling.vocabulary = [&](std::vector<std::pair<std::u16string, int>>&& words) {
                auto shared = std::make_shared<std::vector<std::pair<std::u16string, int>>>(std::move(words));
                job.hand([this, run, shared] { takeGameWords(run, *shared); });
            };
            spelling.reasons = [&](std::vector<std::pair<std::u16string, std::string>>&& reasons) {
                auto shared = std::make_shared<std::vector<std::pair<std::u16string, std::string>>>(std::move(reasons));
                job.hand([this, run, shared] { takeReasons(run, *shared); });
            };
            const bool complete = checkWholeGame(
                work, lists, kCheckBatch, job.stop,
                [&](std::vector<Finding>&& found, int checked) {
                    auto batch = std::make_shared<std::vector<Finding>>(std::move(found));
                    job.hand([this, run, batch, checked] { takeFindings(run, *batch, checked); });
                },
                spelling);
            if (complete)
                job.hand([this, run] { checkingDone(run); });
        },
        [this, run](const std::string& failure) { checkingDone(run, QString::fromStdString(failure)); });
}

void TForm5::openSmallGroups() {
    if (model->shownCount() > kExpandAtMost)
        return;
    for (int i = 0; i < model->rowCount(); ++i)
        list->expand(model->index(i, 0));
}

void TForm5::takeFindings(int run, std::vector<Finding>& findings, int checked) {
    if (run != m_run)
        return;
    model->addFindings(findings);
    // With the kind filter on, the tree was rebuilt.
    if (findingFilter->currentIndex() > 0)
        openSmallGroups();
    progress->setValue(checked);
    showStatus();
}

void TForm5::checkingDone(int run, const QString& failure) {
    if (run != m_run)
        return;
    if (!failure.isEmpty())
        m_problem = QStringLiteral("Die Prüfung wurde abgebrochen: %1").arg(failure);
    m_working = false;
    m_checking = false;
    m_suggesting = false;
    progress->hide();
    showStatus();
}

// The findings are all out: the spelling's by word, before the dictionary's suggestions.
void TForm5::takeGameWords(int run, std::vector<std::pair<std::u16string, int>>& words) {
    if (run != m_run)
        return;
    for (const std::u16string& word : m_ignored)
        model->removeSpelling(word);
    spellingWords->setFindings(model->spellingFindings(), [this](const MessagePlace& p) { return model->placeTitle(p); });
    spellingWords->setGameWords(words);
    views->setTabText(1, QStringLiteral("Rechtschreibung (%1)").arg(spellingWords->wordCount()));
    m_suggesting = true;
    progress->setRange(0, 0);
    showStatus();
}

void TForm5::takeReasons(int run, std::vector<std::pair<std::u16string, std::string>>& reasons) {
    if (run != m_run)
        return;
    const std::map<std::u16string, std::string> byWord(reasons.begin(), reasons.end());
    model->setSpellingReasons(byWord);
    spellingWords->setReasons(byWord);
    m_suggesting = false;
    showStatus();
}

std::unique_ptr<QMenu> TForm5::contextMenu(const QModelIndex& index) {
    const Finding* finding = model->findingAt(index);
    if (!finding || finding->word.empty() || m_folder.empty())
        return nullptr;
    auto menu = std::make_unique<QMenu>();
    const std::u16string word = finding->word;
    QAction* add = menu->addAction(QStringLiteral("„%1“ in die Wortliste des Spiels aufnehmen").arg(fromU16(word)));
    connect(add, &QAction::triggered, this, [this, word] { guarded(*m_platform.messages, [&] { acceptWord(word); }); });
    return menu;
}

void TForm5::acceptWord(const std::u16string& word) {
    addToWordList(wordListPath(m_platform.settingsFolder, m_folder), m_folder, word);
    if (m_windows.group.acceptWord)
        m_windows.group.acceptWord(word);
    dropWord(word);
}

void TForm5::acceptWords(const std::vector<std::u16string>& words) {
    addToWordList(wordListPath(m_platform.settingsFolder, m_folder), m_folder, words);
    if (m_windows.group.acceptWord)
        for (const std::u16string& word : words)
            m_windows.group.acceptWord(word);
    spellingWords->setGameWords({});
}

void TForm5::ignoreWord(const std::u16string& word) {
    m_ignored.push_back(word);
    dropWord(word);
}

// A word right from now on needs no check of the whole game: its findings go.
void TForm5::dropWord(const std::u16string& word) {
    model->removeSpelling(word);
    spellingWords->removeWord(word);
    views->setTabText(1, QStringLiteral("Rechtschreibung (%1)").arg(spellingWords->wordCount()));
    openSmallGroups();
    showStatus();
}

void TForm5::addFindings(const std::vector<Finding>& findings) {
    model->addFindings(findings);
    if (findingFilter->currentIndex() > 0)
        openSmallGroups();
    showStatus();
}

void TForm5::applyFilter() {
    using Show = MessagesModel::Show;
    const int chosen = findingFilter->currentIndex();
    if (chosen < 2)
        model->setFilter(search->text(), chosen == 1 ? Show::WithFinding : Show::All);
    else
        model->setFilter(search->text(), Show::WithKind, kFindingKinds[chosen - 2].kind);
    openSmallGroups();
    showStatus();
}

void TForm5::showStatus() {
    QStringList parts;
    if (!m_problem.isEmpty())
        parts << m_problem;
    const int total = model->messageCount();
    const int shown = model->shownCount();
    if (m_working && !m_checking)
        parts << QStringLiteral("Liest das Spiel … %1 Nachrichten").arg(total);
    else if (!m_folder.empty() && m_problem.isEmpty())
        parts << (shown == total ? QStringLiteral("%1 Nachrichten").arg(total)
                                 : QStringLiteral("%1 von %2 Nachrichten").arg(shown).arg(total));
    if (m_checking)
        parts << (m_suggesting ? QStringLiteral("sucht Vorschläge …") : QStringLiteral("Prüft …"));
    if (model->findingCount()) {
        const auto [messages, spelt] = model->messagesWithFindings();
        const int words = spellingWords->wordCount();
        parts << (messages == 1 ? QStringLiteral("1 Nachricht mit Befund, davon %2 Rechtschreibung (%3 %4)")
                                : QStringLiteral("%1 Nachrichten mit Befund, davon %2 Rechtschreibung (%3 %4)").arg(messages))
                     .arg(spelt)
                     .arg(words)
                     .arg(words == 1 ? QStringLiteral("Wort") : QStringLiteral("Wörter"));
    }
    if (!model->skipped().empty())
        parts << QStringLiteral("%1 Dateien nicht lesbar").arg(model->skipped().size());
    statusLine->setText(parts.join(QStringLiteral(", ")));
}

void TForm5::takeMessage(const QModelIndex& index) {
    if (const GameMessage* m = model->messageAt(index))
        showMessage(*m);
}

void TForm5::showMessage(const GameMessage& message) {
    const GameMessage* m = &message;
    const WindowGroup& group = m_windows.group;
    QStringList problems;
    if (group.showMessageLook) {
        const std::vector<QString> found = group.showMessageLook(m->look, m_folder);
        problems = QStringList(found.begin(), found.end());
    }
    QStringList lines;
    for (const std::u16string& line : m->lines)
        lines << QString::fromStdU16String(line);
    QPlainTextEdit* memo = group.memo ? group.memo() : nullptr;
    if (!memo)
        return;
    const QString text = lines.join(u'\n');
    if (memo->toPlainText() == text) {
        if (group.rerender)
            group.rerender();
    } else {
        memo->setPlainText(text);
    }
    if (!problems.isEmpty())
        statusLine->setText(problems.join(u' '));
}

void TForm5::requireGame() const {
    if (m_folder.empty() || !m_read)
        throw Error("Erst das Spiel ganz lesen lassen, dann schreiben.");
    if (m_working)
        throw Error("Das Spiel wird gerade gelesen oder geprüft; bitte einen Moment warten.");
}

void TForm5::writeSelected() {
    requireGame();
    const GameMessage* m = model->messageAt(list->currentIndex());
    if (!m)
        throw Error("Erst eine Nachricht in der Liste wählen.");
    QPlainTextEdit* memo = m_windows.group.memo ? m_windows.group.memo() : nullptr;
    if (!memo)
        return;
    std::vector<std::u16string> lines;
    for (QString line : memo->toPlainText().split(u'\n')) {
        line.remove(u'\r');
        lines.push_back(toU16(line));
    }
    // The memo's empty lines at the end are no lines of the message, unless it had them.
    while (lines.size() > std::max<size_t>(m->lines.size(), 1) && lines.back().empty())
        lines.pop_back();
    if (lines == m->lines) {
        statusLine->setText(QStringLiteral("Die Nachricht steht schon so im Spiel."));
        return;
    }
    writePlan({messageEdit(*m, std::move(lines))}, QStringLiteral("Ins Spiel schreiben"));
}

std::vector<WordReplacement> TForm5::planReplacement(const std::u16string& from, const std::u16string& to) const {
    std::vector<WordReplacement> plan;
    for (const MessagesModel::MessageList& list : model->messageLists()) {
        std::vector<WordReplacement> part = planWordReplacement(*list, from, to);
        plan.insert(plan.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
    }
    return plan;
}

bool TForm5::writePlan(const std::vector<WordReplacement>& plan, const QString& title) {
    requireGame();
    if (plan.empty()) {
        statusLine->setText(QStringLiteral("Nichts zu ändern."));
        return false;
    }
    WriteDialog dialog(title, plan, [this](const MessagePlace& p) { return placeText(p); }, this);
    askUser(dialog);
    if (dialog.result() != QDialog::Accepted)
        return false;
    std::vector<MessageChange> changes;
    for (const WordReplacement& r : plan)
        changes.push_back(r.change);
    const WriteReport report = writeMessages(m_folder, m_platform.settingsFolder, changes, CodePage::system());
    QStringList told;
    told << QStringLiteral("%1 in %2 ins Spiel geschrieben.")
                .arg(report.written == 1 ? QStringLiteral("1 Nachricht") : QStringLiteral("%1 Nachrichten").arg(report.written))
                .arg(report.files.size() == 1 ? QStringLiteral("1 Datei") : QStringLiteral("%1 Dateien").arg(report.files.size()));
    for (size_t i = 0; i < plan.size(); ++i) {
        const ChangeOutcome& o = report.outcomes[i];
        if (o.state == ChangeState::Changed || o.state == ChangeState::Refused)
            told << QStringLiteral("Nicht geschrieben: %1: %2").arg(placeText(plan[i].change.place), QString::fromStdString(o.reason));
    }
    if (!report.backup.empty())
        told << QStringLiteral("Die Dateien vorher liegen in %1.").arg(textFromPath(report.backup));
    m_platform.messages->show(told.join(u'\n'));
    // What the game now holds is read and checked again.
    readGame();
    return report.written > 0;
}

void TForm5::replaceWord(const std::u16string& word) {
    QInputDialog ask(this);
    ask.setWindowTitle(QStringLiteral("Ersetzen"));
    ask.setLabelText(QStringLiteral("„%1“ an allen Stellen ersetzen durch:").arg(fromU16(word)));
    ask.setTextValue(fromU16(spellingWords->meantWord(word)));
    askUser(ask);
    const QString to = ask.textValue().trimmed();
    if (ask.result() != QDialog::Accepted || to.isEmpty() || to == fromU16(word))
        return;
    writePlan(planReplacement(word, toU16(to)), QStringLiteral("Ersetzen: „%1“ durch „%2“").arg(fromU16(word), to));
}

void TForm5::undoWrite() {
    requireGame();
    UndoReport report = undoLastWrite(m_folder, m_platform.settingsFolder, false);
    if (!report.done) {
        QMessageBox question(QMessageBox::Question, applicationTitle,
                             QStringLiteral("%1 wurde seit dem Schreiben geändert, vielleicht im Maker gespeichert. "
                                            "Trotzdem die Fassung vor dem Schreiben zurückholen? Die geänderte "
                                            "Fassung bleibt in der Sicherung.")
                                 .arg(QString::fromStdString(report.changedSince.front())),
                             QMessageBox::Yes | QMessageBox::No, this);
        question.setDefaultButton(QMessageBox::No);
        askUser(question);
        if (question.clickedButton() != question.button(QMessageBox::Yes))
            return;
        report = undoLastWrite(m_folder, m_platform.settingsFolder, true);
    }
    QStringList names;
    for (const std::string& name : report.restored)
        names << QString::fromStdString(name);
    m_platform.messages->show(names.isEmpty() ? QStringLiteral("Die Dateien standen schon wie vor dem Schreiben.")
                                              : QStringLiteral("Zurückgeholt: %1.").arg(names.join(QStringLiteral(", "))));
    readGame();
}

QString TForm5::placeText(const MessagePlace& place) const {
    return QString::fromStdString(placeInWords(place, model->mapNames())) + QStringLiteral(", Befehl %1").arg(place.command);
}

void TForm5::closeEvent(QCloseEvent* event) {
    if (m_working)
        cancelWork();
    showStatus();
    ToolWindow::closeEvent(event);
}

QString TForm5::gameFolderText() const {
    return m_windows.group.gameFolder ? m_windows.group.gameFolder() : QString();
}

}  // namespace zeilwerk
