#include "game_fixture.h"
#include "lcf_fixture.h"
#include "program_fixture.h"

#include "app/window_placement.h"
#include "core/platform/code_page.h"
#include "core/settings/ini_file.h"
#include "spelling/speller.h"
#include "spelling/word_list.h"
#include "core/platform/background_job.h"
#include "windows/messages/messages_model.h"
#include "windows/messages/messages_window.h"
#include "windows/messages/spelling_words.h"
#include "windows/messages/write_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QThread>
#include <QTreeView>

#include <fstream>
#include <mutex>
#include <stdexcept>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zeilwerk::test {
namespace {

namespace fs = std::filesystem;

// Maps 2 and 1 in the tree's order, map 3 damaged, two common events and a battle; in
// Windows-1252 as the Maker writes them.
void writeMessagesGame(const fs::path& game) {
    ASSERT_TRUE(writeEngineGame(game));
    fs::create_directories(game / "FaceSet");
    ASSERT_TRUE(faceSet().save(qpath(game / "FaceSet" / "Held.png"), "png"));
    const auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(game / name, std::ios::binary) << bytes;
    };
    const std::vector<LcfCommand> branchFace = {{12010, 0, "", {0, 1, 0, 0, 0}}, changeFace("Held", 1, false, 1),
                                                {0, 1, "", {}}, {22011, 0, "", {}}, showMessage("Vielleicht")};
    write("rpg_rt.LDB", gameDatabase({{1, "Alex"}}, "", "Stil", false,
                                     troops({{1, "Wölfe", {{1, {showMessage("Ein Kampf beginnt")}}}}}) +
                                         commonEvents({{1, "Lang", {showMessage("Eins"), messageLine("Zwei"), messageLine("Drei"),
                                                                    messageLine("Vier"), messageLine("F\xfcnf")}},
                                                       {2, "Zweig", branchFace}})));
    write("RPG_RT.lmt", mapTree({{1, "Dorf"}, {2, "Wald"}, {3, "H\xf6hle"}}, {2, 1, 3}));
    write("Map0001.lmu", mapUnit({{3, "NPC", {{1, {changeFace("Held", 5, true), windowOptions(0),
                                                   showMessage("Hallo Welt"), messageLine("Zweite Zeile")}}}},
                                  {4, "Wirt", {{2, {showMessage("Guten Tag")}}}}}));
    write("Map0002.lmu", mapUnit({{1, "Bauer", {{1, {showMessage("Frische \xc4pfel!")}}}}}));
    write("Map0003.lmu", "kaputt");
}

class MessagesWindowTest : public PreviewProgramTest {
protected:
    void SetUp() override {
        PreviewProgramTest::SetUp();
        writeMessagesGame(folder / "spiel");
        options->spiel_ordner->setText(qpath(folder / "spiel"));
        messagesWindow = std::make_unique<TForm5>(platform, windows);
        windows.messages = messagesWindow.get();
    }
    void TearDown() override {
        messagesWindow.reset();
        PreviewProgramTest::TearDown();
    }
    void waitUntilDone() {
        for (int i = 0; i < 500 && messagesWindow->working(); ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
        QCoreApplication::processEvents();
        ASSERT_FALSE(messagesWindow->working());
    }
    QStringList groups() const {
        QStringList out;
        for (int i = 0; i < messagesWindow->model->rowCount(); ++i)
            out << messagesWindow->model->index(i, 0).data().toString();
        return out;
    }
    QModelIndex message(int group, int row) const {
        return messagesWindow->model->index(row, 0, messagesWindow->model->index(group, 0));
    }

    std::unique_ptr<TForm5> messagesWindow;
};

TEST_F(MessagesWindowTest, TheButtonOpensTheGameInGroupsWithCountsAndTheDamagedFileLast) {
    options->spiel_nachrichten->click();
    EXPECT_TRUE(messagesWindow->isVisible());
    waitUntilDone();
    EXPECT_EQ(groups(), QStringList({"Karte 2 »Wald« (1)", "Karte 1 »Dorf« (2)", "Allgemeine Ereignisse (2)",
                                     "Kampfereignisse (1)", "Nicht lesbar (1)"}));
    EXPECT_EQ(message(1, 0).data().toString(), "Ereignis 3, Seite 1: Hallo Welt");
    EXPECT_EQ(message(1, 1).data().toString(), "Ereignis 4, Seite 2: Guten Tag");
    EXPECT_EQ(message(2, 0).data().toString(), "Ereignis 1: Eins");
    EXPECT_EQ(message(3, 0).data().toString(), "Truppe 1, Seite 1: Ein Kampf beginnt");
    EXPECT_EQ(message(4, 0).data().toString(), "Map0003.lmu: Die Datei ist keine Karte des Makers oder beschädigt.");
    EXPECT_EQ(message(2, 1).siblingAtColumn(1).data().toString(), "Gesicht unsicher");
}

TEST_F(MessagesWindowTest, TheFilterFindsTextInAnyLineCaseIgnoredAndTheCountsFollow) {
    messagesWindow->openWindow();
    waitUntilDone();
    const struct {
        const char* text;
        QStringList groups;
    } rows[] = {
        {"", {"Karte 2 »Wald« (1)", "Karte 1 »Dorf« (2)", "Allgemeine Ereignisse (2)", "Kampfereignisse (1)",
              "Nicht lesbar (1)"}},
        {"äPFEL", {"Karte 2 »Wald« (1)", "Nicht lesbar (1)"}},
        {"zweite zeile", {"Karte 1 »Dorf« (1)", "Nicht lesbar (1)"}},
        {"FÜNF", {"Allgemeine Ereignisse (1)", "Nicht lesbar (1)"}},
        {"e", {"Karte 2 »Wald« (1)", "Karte 1 »Dorf« (2)", "Allgemeine Ereignisse (2)", "Kampfereignisse (1)",
               "Nicht lesbar (1)"}},
        {"nirgends", {"Nicht lesbar (1)"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        messagesWindow->search->setText(QString::fromUtf8(row.text));
        EXPECT_EQ(groups().join(" | ").toStdString(), row.groups.join(" | ").toStdString());
    }
}

TEST_F(MessagesWindowTest, AChosenMessageFillsTheMemoAndTheOptionsAndThePreviewShowsItsFace) {
    options->spiel_aktiv_set->setChecked(true);
    options->confirmClick();
    ASSERT_NE(preview->gameLook(), nullptr);
    EXPECT_TRUE(preview->gameLook()->face.isNull());
    messagesWindow->openWindow();
    waitUntilDone();
    messagesWindow->list->setCurrentIndex(message(1, 0));
    EXPECT_EQ(input->GetText->toPlainText(), "Hallo Welt\nZweite Zeile");
    EXPECT_EQ(options->spiel_gesicht->text(), "Held");
    EXPECT_EQ(options->spiel_gesicht_nr->text(), "5");
    EXPECT_TRUE(options->spiel_gesicht_rechts->isChecked());
    EXPECT_EQ(options->spiel_position->currentIndex(), 0);
    ASSERT_NE(preview->gameLook(), nullptr);
    EXPECT_FALSE(preview->gameLook()->face.isNull());
    EXPECT_EQ(preview->gameLook()->boxTop, 0);
    // Another message takes its own look: no face, the box at the bottom.
    messagesWindow->list->setCurrentIndex(message(0, 0));
    EXPECT_EQ(input->GetText->toPlainText(), "Frische Äpfel!");
    EXPECT_EQ(options->spiel_gesicht->text(), "");
    EXPECT_TRUE(preview->gameLook()->face.isNull());
    EXPECT_EQ(preview->gameLook()->boxTop, 160);
}

TEST_F(MessagesWindowTest, TheChecksMarkMessagesAndTheKindFilterShowsThoseWithAFinding) {
    messagesWindow->openWindow();
    waitUntilDone();
    messagesWindow->check->setChecked(true);
    waitUntilDone();
    EXPECT_GE(messagesWindow->model->findingCount(), 1);
    messagesWindow->findingFilter->setCurrentText("zu viele Zeilen");
    EXPECT_EQ(groups(), QStringList({"Allgemeine Ereignisse (1)", "Nicht lesbar (1)"}));
    EXPECT_GE(messagesWindow->model->rowCount(message(0, 0)), 1) << "the finding is a child of its message";
    messagesWindow->check->setChecked(false);
    EXPECT_EQ(messagesWindow->model->findingCount(), 0);
}

TEST_F(MessagesWindowTest, SpellingFindingsComeWithTheChecksAndTheirWordIsTakenInWithOneClick) {
    // A dictionary of our own that knows every word of the game but "Äpfel".
    platform.programFolder = folder.path();
    fs::create_directories(folder / "woerterbuch");
    std::ofstream(folder / "woerterbuch" / "probe.aff", std::ios::binary) << "SET UTF-8\n";
    std::ofstream(folder / "woerterbuch" / "probe.dic", std::ios::binary)
        << "11\nHallo\nWelt\nZweite\nZeile\nGuten\nTag\nFrische\nEins\nZwei\nDrei\nVier\n";
    options->spiel_woerterbuch->setText("probe");
    messagesWindow->openWindow();
    waitUntilDone();
    messagesWindow->check->setChecked(true);
    waitUntilDone();
    messagesWindow->findingFilter->setCurrentText("Rechtschreibung");
    const QStringList spelt = groups();
    ASSERT_FALSE(spelt.isEmpty());
    EXPECT_EQ(spelt.first(), "Karte 2 »Wald« (1)");
    const QModelIndex finding = messagesWindow->model->index(0, 0, message(0, 0));
    ASSERT_NE(messagesWindow->model->findingAt(finding), nullptr);
    EXPECT_EQ(messagesWindow->model->findingAt(finding)->word, u"Äpfel");
    const std::unique_ptr<QMenu> menu = messagesWindow->contextMenu(finding);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().first()->text(), "„Äpfel“ in die Wortliste des Spiels aufnehmen");
    menu->actions().first()->trigger();
    waitUntilDone();
    EXPECT_FALSE(groups().contains("Karte 2 »Wald« (1)"));
    EXPECT_EQ(readWordList(wordListPath(folder.path(), folder / "spiel")), std::vector<std::u16string>{u"Äpfel"});
}

// The spelling tab: each word once, a rare word next to the game's much used name first,
// the name itself among the game's own words; accepting takes a word out at once.
TEST_F(MessagesWindowTest, TheSpellingTabListsEachWordOnceTheLikeliestTypoFirst) {
    platform.programFolder = folder.path();
    fs::create_directories(folder / "woerterbuch");
    std::ofstream(folder / "woerterbuch" / "probe.aff", std::ios::binary) << "SET UTF-8\n";
    std::ofstream(folder / "woerterbuch" / "probe.dic", std::ios::binary) << "5\nlacht\nwinkt\nruft\nschläft\ndort\n";
    const fs::path game = folder / "eigenes";
    fs::create_directories(game);
    std::ofstream(game / "RPG_RT.ldb", std::ios::binary) << gameDatabase({{1, "Alex"}});
    std::ofstream(game / "RPG_RT.lmt", std::ios::binary) << mapTree({{1, "Dorf"}}, {1});
    std::ofstream(game / "Map0001.lmu", std::ios::binary)
        << mapUnit({{1, "A", {{1, {showMessage("Gerwina lacht."), showMessage("Gerwina winkt.")}}}},
                    {2, "B", {{1, {showMessage("Gerwina ruft.")}}}},
                    {3, "C", {{1, {showMessage("Gerwnia schl\xe4" "ft."), showMessage("Xylofar Xylofar dort.")}}}}});
    options->spiel_ordner->setText(qpath(game));
    options->spiel_woerterbuch->setText("probe");
    messagesWindow->openWindow();
    waitUntilDone();
    messagesWindow->check->setChecked(true);
    waitUntilDone();
    SpellingWords& words = *messagesWindow->spellingWords;
    EXPECT_EQ(words.words(), (std::vector<std::u16string>{u"Gerwnia", u"Xylofar"}));
    EXPECT_EQ(words.model->item(0, 2)->text(), "„Gerwnia“: meintest du Gerwina (3 ×)?");
    EXPECT_EQ(words.model->item(2, 0)->text(), "Wörter des Spiels (1)");
    EXPECT_EQ(messagesWindow->views->tabText(1), "Rechtschreibung (2)");
    EXPECT_TRUE(messagesWindow->statusLine->text().contains("2 Nachrichten mit Befund, davon 2 Rechtschreibung (2 Wörter)"))
        << messagesWindow->statusLine->text().toStdString();

    // A place opens its message; accepting a word takes it into the list and out of the tab.
    words.tree->setCurrentIndex(words.model->index(0, 0, words.model->index(0, 0)));
    EXPECT_EQ(input->GetText->toPlainText(), QString::fromUtf8("Gerwnia schläft."));
    words.tree->setCurrentIndex(words.model->index(1, 0));
    words.acceptButton->click();
    EXPECT_EQ(words.words(), std::vector<std::u16string>{u"Gerwnia"});
    words.acceptAllButton->click();
    EXPECT_EQ(readWordList(wordListPath(folder.path(), game)), (std::vector<std::u16string>{u"Xylofar", u"Gerwina"}));
    EXPECT_EQ(messagesWindow->model->findingCount(), 1);

    // "Ersetzen…" offers the word meant, shows what changes, and writes it into the game.
    int asked = 0;
    messagesWindow->askUser = [&](QDialog& question) {
        ++asked;
        question.accept();
    };
    words.tree->setCurrentIndex(words.model->index(0, 0));
    words.replaceButton->click();
    waitUntilDone();
    EXPECT_EQ(asked, 2);
    const GameMessages after = readGameMessages(game, CodePage::system());
    ASSERT_EQ(after.messages.size(), 5u);
    EXPECT_EQ(after.messages[3].lines, std::vector<std::u16string>{u"Gerwina schläft."});
}

TEST_F(MessagesWindowTest, ItsPlaceAndSizeAreKeptInTheStartupFileWithTheOthers) {
    messagesWindow->setClientSize(QSize(600, 480));
    messagesWindow->moveOuterTo(QPoint(100, 50));
    std::vector<IniEntry> entries;
    appendPositions(windows, entries);
    IniFile file(folder / "optn.ini");
    file.write(entries);
    const std::pair<const char*, int> keys[] = {
        {"nachrichten_top", 50}, {"nachrichten_left", 100}, {"nachrichten_breite", 600}, {"nachrichten_hoehe", 480}};
    for (const auto& [key, value] : keys)
        EXPECT_EQ(file.readNumber("fenster", key, -1), value) << key;
    messagesWindow->setClientSize(QSize(400, 300));
    messagesWindow->moveOuterTo(QPoint(0, 0));
    restorePositions(windows, file);
    EXPECT_EQ(messagesWindow->size(), QSize(600, 480));
    EXPECT_EQ(messagesWindow->outerGeometry().topLeft(), QPoint(100, 50));
}

TEST_F(MessagesWindowTest, AReadingUnderWayEndsWithTheWindowAndAnotherFolderEmptiesIt) {
    messagesWindow->openWindow();
    options->spiel_ordner->setText(qpath(folder / "anders"));
    EXPECT_FALSE(messagesWindow->working());
    EXPECT_EQ(messagesWindow->model->rowCount(), 0);
    options->spiel_ordner->setText(qpath(folder / "spiel"));
    messagesWindow->readGame();
    const auto finished = messagesWindow->workFinished();
    ASSERT_NE(finished, nullptr);
    messagesWindow.reset();  // leaves the reading; what it hands over later is dropped with the window
    windows.messages = nullptr;
    for (int i = 0; i < 500 && !finished->load(); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(finished->load()) << "the reading stops when told";
    QCoreApplication::processEvents();
}

#ifndef _WIN32
// A FIFO named like a map would make a reader wait for a writer for ever.
TEST_F(MessagesWindowTest, AFileThatIsNoRegularFileIsSkippedAsUnreadable) {
    ASSERT_EQ(::mkfifo((folder / "spiel" / "Map0004.lmu").c_str(), 0600), 0);
    messagesWindow->openWindow();
    waitUntilDone();
    const QStringList shown = groups();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.last(), "Nicht lesbar (2)");
    EXPECT_EQ(message(static_cast<int>(shown.size()) - 1, 1).data().toString(),
              "Map0004.lmu: Die Datei ist keine gewöhnliche Datei.");
}
#endif

// Opening a real dictionary takes a good while and cannot be interrupted: cancelling, closing
// and quitting leave it to end by itself instead of waiting for it.
TEST_F(MessagesWindowTest, CancellingAndClosingDoNotWaitForTheCheckToEnd) {
    if (!findDictionary("de_DE", dictionaryFolders(folder.path())))
        GTEST_SKIP() << "no de_DE dictionary (hunspell-de-de)";
    platform.programFolder = folder.path();
    options->spiel_woerterbuch->setText("de_DE");
    messagesWindow->openWindow();
    waitUntilDone();
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "closing" : "cancelling");
        messagesWindow->check->setChecked(false);
        messagesWindow->check->setChecked(true);
        ASSERT_TRUE(messagesWindow->working());
        const auto finished = messagesWindow->workFinished();
        ASSERT_NE(finished, nullptr);
        if (close)
            messagesWindow->close();
        else
            messagesWindow->cancelWork();
        EXPECT_FALSE(finished->load()) << "returned before the dictionary was open";
        EXPECT_FALSE(messagesWindow->working());
        for (int i = 0; i < 1000 && !finished->load(); ++i)
            QThread::msleep(10);
        EXPECT_TRUE(finished->load()) << "the check stops once it can";
        QCoreApplication::processEvents();
        EXPECT_EQ(messagesWindow->model->findingCount(), 0) << "nothing of the cancelled check arrives";
    }
}

// Whatever leaves the work on the worker thread ends the job with a German text for the
// window, never the program.
TEST(BackgroundJob, AnExceptionInTheWorkIsHandedOverAsText) {
    struct Case {
        std::function<void()> fail;
        const char* text;
    };
    const Case cases[] = {
        {[] { throw Error("Der Ordner lässt sich nicht lesen."); }, "Der Ordner lässt sich nicht lesen."},
        {[] { throw std::bad_alloc(); }, "Zu wenig Speicher für diese Arbeit."},
        {[] { throw std::out_of_range("vector"); }, "Unerwarteter Fehler: vector"},
        {[] { throw 42; }, "Unerwarteter Fehler."},
    };
    for (const Case& c : cases) {
        std::mutex mutex;
        std::vector<std::string> handed;
        BackgroundJob job([&](BackgroundJob::Task task) { task(); });
        job.start([&](const BackgroundJob::Context&) { c.fail(); },
                  [&](const std::string& text) {
                      const std::lock_guard lock(mutex);
                      handed.push_back(text);
                  });
        const auto finished = job.finishedFlag();
        for (int i = 0; i < 500 && !finished->load(); ++i)
            QThread::msleep(10);
        ASSERT_TRUE(finished->load());
        const std::lock_guard lock(mutex);
        EXPECT_EQ(handed, std::vector<std::string>{c.text});
    }
}

// The memo's text written into the game after the dialog said what changes, the game read
// again, and undone to the byte; the undo asks when the Maker saved the file since.
TEST_F(MessagesWindowTest, TheEditedMessageIsWrittenIntoTheGameAndUndone) {
    const std::filesystem::path map = folder / "spiel" / "Map0001.lmu";
    const std::string before = readFile(map);
    QStringList asked;
    messagesWindow->askUser = [&](QDialog& question) {
        if (auto* dialog = dynamic_cast<WriteDialog*>(&question)) {
            asked << dialog->summary->text() << dialog->preview->toPlainText() << dialog->warning->text();
            dialog->accept();
        } else if (auto* box = dynamic_cast<QMessageBox*>(&question)) {
            asked << box->text();
            box->button(QMessageBox::Yes)->click();
        }
    };
    messagesWindow->openWindow();
    waitUntilDone();
    messagesWindow->list->setCurrentIndex(message(1, 0));
    input->GetText->setPlainText("Hallo Wölt\nZweite Zeile\nund eine dritte\n");
    messagesWindow->writeBack->click();
    ASSERT_EQ(asked.size(), 3) << messages.errors.join("\n").toStdString();
    EXPECT_EQ(asked[0], "Ins Spiel geschrieben werden 1 Nachricht in 1 Datei:");
    EXPECT_TRUE(asked[1].contains("Karte 1 »Dorf«, Ereignis 3, Seite 1, Befehl 2")) << asked[1].toStdString();
    EXPECT_TRUE(asked[1].contains("Zeile 1:  Hallo Welt\n        →  Hallo Wölt")) << asked[1].toStdString();
    EXPECT_TRUE(asked[1].contains("Zeile 3:  (neue Zeile)\n        →  und eine dritte")) << asked[1].toStdString();
    EXPECT_TRUE(asked[2].contains("im Maker schließen"));
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_TRUE(messages.shown.last().startsWith("1 Nachricht in 1 Datei ins Spiel geschrieben.")) << messages.shown.last().toStdString();
    waitUntilDone();
    ASSERT_NE(messagesWindow->model->messageAt(message(1, 0)), nullptr);
    EXPECT_EQ(messagesWindow->model->messageAt(message(1, 0))->lines,
              (std::vector<std::u16string>{u"Hallo Wölt", u"Zweite Zeile", u"und eine dritte"}));

    // The Maker saved the map since: the undo asks, then keeps that version beside the backup.
    const std::string written = readFile(map);
    writeFile(map, written + std::string(1, '\0'));
    messagesWindow->undo->click();
    ASSERT_EQ(asked.size(), 4);
    EXPECT_TRUE(asked[3].startsWith("Map0001.lmu wurde seit dem Schreiben geändert")) << asked[3].toStdString();
    EXPECT_EQ(readFile(map), before);
    EXPECT_TRUE(messages.shown.last().startsWith("Zurückgeholt: Map0001.lmu")) << messages.shown.last().toStdString();
    waitUntilDone();
    EXPECT_EQ(message(1, 0).data().toString(), "Ereignis 3, Seite 1: Hallo Welt");
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join("\n").toStdString();
}

TEST_F(MessagesWindowTest, AWordIsReplacedAtEveryPlaceInItsCase) {
    messagesWindow->openWindow();
    waitUntilDone();
    const auto plan = messagesWindow->planReplacement(u"zeile", u"Reihe");
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].change.lines, (std::vector<std::u16string>{u"Hallo Welt", u"Zweite Reihe"}));
    messagesWindow->askUser = [](QDialog& question) { question.reject(); };
    EXPECT_FALSE(messagesWindow->writePlan(plan, "Ersetzen"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

}  // namespace
}  // namespace zeilwerk::test
