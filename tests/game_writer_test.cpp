#include "core/game/game_folder.h"
#include "core/game/game_writer.h"
#include "core/game/map_unit.h"
#include "core/game/message_splice.h"
#include "core/game/word_replace.h"

#include "core/platform/code_page.h"
#include "core/platform/csv.h"
#include "core/platform/error.h"
#include "lcf_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zeilwerk::test {
namespace {

namespace fs = std::filesystem;
constexpr std::uint32_t kBranch = 12010, kElse = 22010, kBranchEnd = 22011;

const CodePage& page() {
    return CodePage::system();
}

// A page with every kind of command around its messages: a face, branches with messages
// inside and nested, a call, the window's options, and a message at the very end.
std::vector<LcfCommand> busyPage(const std::string& tag) {
    return {changeFace("Held", 1),
            showMessage("Hallo " + tag),
            messageLine("zweite Zeile"),
            {kBranch, 0, "", {0, 1, 0, 0, 0, 0}},
            showMessage("Im Zweig", 1),
            messageLine("mit zwei Zeilen", 1),
            {kBranch, 1, "", {1, 2, 0, 1, 0, 0}},
            showMessage("Tiefer", 2),
            {kBranchEnd, 1, "", {}},
            {kElse, 0, "", {}},
            showMessage("Sonst", 1),
            {kBranchEnd, 0, "", {}},
            callCommon(1),
            windowOptions(0),
            showMessage("Ende " + tag)};
}

std::string testMap() {
    return mapUnit({{1, "Wirt", {{1, busyPage("Wirt")}, {2, {showMessage("Seite zwei")}}}},
                    {7, "Wache", {{1, busyPage("Wache")}}}});
}

std::string testDatabase() {
    return gameDatabase({{1, "Alex"}}, "", "Stil", false,
                        commonEvents({{1, "Gemein", busyPage("gemein")}, {3, "Leer", {}}}) +
                            troops({{2, "Schleime", {{1, busyPage("Kampf")}, {2, {showMessage("Runde zwei")}}}}}));
}

void writeTestGame(const fs::path& game) {
    fs::create_directories(game);
    writeFile(game / "RPG_RT.ldb", testDatabase());
    writeFile(game / "RPG_RT.lmt", mapTree({{1, "Dorf"}, {2, "Wald"}}, {1, 2}));
    writeFile(game / "Map0001.lmu", testMap());
    writeFile(game / "map0002.LMU", mapUnit({{3, "Baum", {{1, {showMessage("Ein Baum.")}}}}}));
}

MessageChange changeOf(const GameMessage& m, std::vector<std::u16string> lines) {
    return {m.place, messageChecksum(m.lines), std::move(lines)};
}

const GameMessage& messageAt(const GameMessages& game, MessageKind kind, int source, int event, int pageId, int index) {
    int n = 0;
    for (const GameMessage& m : game.messages)
        if (m.place.kind == kind && m.place.source == source && m.place.event == event && m.place.page == pageId && n++ == index)
            return m;
    throw Error("no such message");
}

// Every command of every page that is no message line, as the reader gives it.
std::vector<std::string> otherCommands(const std::string& map) {
    std::vector<std::string> out;
    for (const MapEvent& e : readMapUnit(map))
        for (const EventPage& p : e.pages) {
            CommandReader reader(p.commands, "x");
            EventCommand c;
            while (reader.next(c)) {
                if (c.code == kShowMessage || c.code == kMessageLine)
                    continue;
                std::string row = std::to_string(c.code) + "/" + std::to_string(c.indent) + "/" + std::string(c.text);
                for (int v : c.parameters)
                    row += "," + std::to_string(v);
                out.push_back(row);
            }
        }
    return out;
}

std::vector<std::vector<std::u16string>> messageLines(const std::string& map) {
    std::vector<GameMessage> messages;
    for (const MapEvent& e : readMapUnit(map))
        for (const EventPage& p : e.pages)
            collectMessages(p.commands, {MessageKind::Map, 1, e.id, p.id, 0}, page(), {}, messages);
    std::vector<std::vector<std::u16string>> out;
    for (const GameMessage& m : messages)
        out.push_back(m.lines);
    return out;
}

struct SpliceRow {
    const char* name;
    int message;  // which message of the map, in reading order
    std::vector<std::u16string> lines;
    ChangeState state;
};

TEST(MessageSplice, EveryKindOfChangeReadsBackAsIntendedAndNothingElseMoves) {
    const std::string map = testMap();
    std::vector<GameMessage> before;
    for (const MapEvent& e : readMapUnit(map))
        for (const EventPage& p : e.pages)
            collectMessages(p.commands, {MessageKind::Map, 1, e.id, p.id, 0}, page(), {}, before);
    const std::u16string longLine(300, u'x');
    const std::vector<SpliceRow> rows = {
        {"same length", 0, {u"Hallo Wirf", u"zweite Zeile"}, ChangeState::Written},
        {"longer, past a size's byte", 1, {longLine, u"mit zwei Zeilen"}, ChangeState::Written},
        {"shorter", 2, {u"T"}, ChangeState::Written},
        {"more lines", 0, {u"Eins", u"Zwei", u"Drei", u"Vier"}, ChangeState::Written},
        {"fewer lines", 1, {u"Nur eine"}, ChangeState::Written},
        {"umlauts", 4, {u"Grüße aus Köln, Straße"}, ChangeState::Written},
        {"empty", 3, {u""}, ChangeState::Written},
        {"the last command of a page", 5, {u"Ende", u"neu"}, ChangeState::Written},
        {"unchanged", 2, {u"Tiefer"}, ChangeState::AlreadyNew},
        {"a character the page lacks", 0, {u"Schnee ☃"}, ChangeState::Refused},
        {"five lines", 0, {u"1", u"2", u"3", u"4", u"5"}, ChangeState::Refused},
    };
    for (const SpliceRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Splice splice = spliceMessages(map, {changeOf(before[row.message], row.lines)}, page());
        ASSERT_EQ(splice.outcomes.size(), 1u);
        EXPECT_EQ(splice.outcomes[0].state, row.state) << splice.outcomes[0].reason;
        if (row.state != ChangeState::Written) {
            EXPECT_EQ(splice.bytes, map);
            continue;
        }
        std::vector<std::vector<std::u16string>> expected;
        for (const GameMessage& m : before)
            expected.push_back(m.lines);
        expected[row.message] = row.lines;
        EXPECT_EQ(messageLines(splice.bytes), expected);
        EXPECT_EQ(otherCommands(splice.bytes), otherCommands(map));
        // The other event's bytes are untouched: the map ends with them and the last chunk.
        const std::string tail = map.substr(map.find("Wache"));
        EXPECT_EQ(splice.bytes.substr(splice.bytes.size() - tail.size()), tail);
    }
}

TEST(MessageSplice, ManyChangesInOneListNameThePlacesAsRead) {
    const std::string map = testMap();
    std::vector<GameMessage> before;
    for (const MapEvent& e : readMapUnit(map))
        for (const EventPage& p : e.pages)
            collectMessages(p.commands, {MessageKind::Map, 1, e.id, p.id, 0}, page(), {}, before);
    const std::vector<MessageChange> changes = {changeOf(before[0], {u"a", u"b", u"c", u"d"}),
                                                changeOf(before[1], {u"e"}),
                                                changeOf(before[5], {u"Schluss"}),
                                                changeOf(before[7], {u"Wache", u"zwei"})};
    const Splice splice = spliceMessages(map, changes, page());
    EXPECT_EQ(splice.written, 4);
    const auto lines = messageLines(splice.bytes);
    EXPECT_EQ(lines[0], changes[0].lines);
    EXPECT_EQ(lines[1], changes[1].lines);
    EXPECT_EQ(lines[2], before[2].lines);
    EXPECT_EQ(lines[5], changes[2].lines);
    EXPECT_EQ(lines[7], changes[3].lines);
    // Run again on the written file: every one is found written, even where lines moved it.
    const Splice again = spliceMessages(splice.bytes, changes, page());
    EXPECT_EQ(again.bytes, splice.bytes);
    for (const ChangeOutcome& o : again.outcomes)
        EXPECT_EQ(o.state, ChangeState::AlreadyNew);
}

class GameWriterTest : public ::testing::Test {
protected:
    void SetUp() override { writeTestGame(game); }
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> out;
        for (const auto& e : fs::directory_iterator(game))
            out[e.path().filename().string()] = readFile(e.path());
        return out;
    }
    bool anyBackup() const { return fs::exists(settings / "sicherungen"); }

    TempDir dir;
    fs::path game = dir / "Mein Spiel";
    fs::path settings = dir / "Einstellungen";
};

TEST_F(GameWriterTest, WritingEveryMessageUnchangedChangesNoByteAndMakesNoBackup) {
    const auto before = files();
    const GameMessages read = readGameMessages(game, page());
    ASSERT_GT(read.messages.size(), 20u);
    std::vector<MessageChange> changes;
    for (const GameMessage& m : read.messages)
        changes.push_back(changeOf(m, m.lines));
    const WriteReport report = writeMessages(game, settings, changes, page());
    EXPECT_EQ(report.written, 0);
    EXPECT_TRUE(report.files.empty());
    EXPECT_EQ(files(), before);
    EXPECT_FALSE(anyBackup());
}

TEST_F(GameWriterTest, AWriteSetIsBackedUpWrittenAndUndoneToTheByte) {
    const auto before = files();
    const GameMessages read = readGameMessages(game, page());
    const std::vector<MessageChange> changes = {
        changeOf(messageAt(read, MessageKind::Map, 1, 1, 1, 0), {u"Grüß dich", u"Fremder", u"!"}),
        changeOf(messageAt(read, MessageKind::Common, 1, 0, 0, 1), {u"Gemein"}),
        changeOf(messageAt(read, MessageKind::Battle, 2, 0, 2, 0), {u"Runde drei"}),
        changeOf(messageAt(read, MessageKind::Map, 2, 3, 1, 0), {u"Ein Baum. ☃"}),
    };
    const WriteReport report = writeMessages(game, settings, changes, page());
    EXPECT_EQ(report.written, 3);
    EXPECT_EQ(report.outcomes[3].state, ChangeState::Refused);
    EXPECT_NE(report.outcomes[3].reason.find("☃"), std::string::npos);
    EXPECT_EQ(report.files, (std::vector<std::string>{"Map0001.lmu", "RPG_RT.ldb"}));
    EXPECT_EQ(readFile(report.backup / "Map0001.lmu"), before.at("Map0001.lmu"));
    EXPECT_EQ(readFile(report.backup / "RPG_RT.ldb"), before.at("RPG_RT.ldb"));
    EXPECT_EQ(report.backup.parent_path().parent_path(), settings / "sicherungen");

    const GameMessages after = readGameMessages(game, page());
    EXPECT_EQ(messageAt(after, MessageKind::Map, 1, 1, 1, 0).lines, changes[0].lines);
    EXPECT_EQ(messageAt(after, MessageKind::Common, 1, 0, 0, 1).lines, changes[1].lines);
    EXPECT_EQ(messageAt(after, MessageKind::Battle, 2, 0, 2, 0).lines, changes[2].lines);
    EXPECT_EQ(after.messages.size(), read.messages.size());

    // The same set again: every message found written, nothing new backed up.
    const WriteReport again = writeMessages(game, settings, changes, page());
    EXPECT_EQ(again.written, 0);
    EXPECT_TRUE(again.backup.empty());

    const UndoReport undo = undoLastWrite(game, settings, false);
    EXPECT_TRUE(undo.done);
    EXPECT_EQ(files(), before);
    EXPECT_THROW(undoLastWrite(game, settings, false), Error);
}

TEST_F(GameWriterTest, AMessageChangedMeanwhileIsNotWrittenAndSaysSo) {
    const GameMessages read = readGameMessages(game, page());
    const GameMessage& m = messageAt(read, MessageKind::Map, 1, 7, 1, 0);
    writeFile(game / "Map0001.lmu",
              mapUnit({{1, "Wirt", {{1, busyPage("Wirt")}, {2, {showMessage("Seite zwei")}}}},
                       {7, "Wache", {{1, busyPage("anders")}}}}));
    const auto before = files();
    const WriteReport report = writeMessages(game, settings, {changeOf(m, {u"Neu"})}, page());
    EXPECT_EQ(report.outcomes[0].state, ChangeState::Changed);
    EXPECT_EQ(report.outcomes[0].reason, "Die Nachricht wurde inzwischen geändert.");
    EXPECT_EQ(files(), before);
    EXPECT_FALSE(anyBackup());
}

TEST_F(GameWriterTest, UndoAsksWhenAFileChangedSinceAndKeepsThatVersion) {
    const GameMessages read = readGameMessages(game, page());
    const std::string original = readFile(game / "Map0001.lmu");
    const WriteReport report =
        writeMessages(game, settings, {changeOf(messageAt(read, MessageKind::Map, 1, 1, 1, 0), {u"Neu"})}, page());
    ASSERT_EQ(report.written, 1);
    writeFile(game / "Map0001.lmu", "im Maker gespeichert");
    const UndoReport asked = undoLastWrite(game, settings, false);
    EXPECT_FALSE(asked.done);
    EXPECT_EQ(asked.changedSince, std::vector<std::string>{"Map0001.lmu"});
    EXPECT_EQ(readFile(game / "Map0001.lmu"), "im Maker gespeichert");
    const UndoReport forced = undoLastWrite(game, settings, true);
    EXPECT_TRUE(forced.done);
    EXPECT_EQ(readFile(game / "Map0001.lmu"), original);
    EXPECT_EQ(readFile(forced.backup / "ueberschrieben" / "Map0001.lmu"), "im Maker gespeichert");
}

#ifndef _WIN32
TEST_F(GameWriterTest, AFileThatCannotBeWrittenStopsTheWholeSet) {
    const GameMessages read = readGameMessages(game, page());
    const auto before = files();
    ::chmod((game / "RPG_RT.ldb").c_str(), 0444);
    const std::vector<MessageChange> changes = {
        changeOf(messageAt(read, MessageKind::Map, 1, 1, 1, 0), {u"Neu"}),
        changeOf(messageAt(read, MessageKind::Common, 1, 0, 0, 0), {u"Neu"})};
    try {
        writeMessages(game, settings, changes, page());
        ADD_FAILURE() << "written";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("RPG_RT.ldb lässt sich nicht schreiben"), std::string::npos) << e.what();
    }
    EXPECT_EQ(files(), before);
}

// Killed at random moments of writing and undoing, every file is the old or the new one, a
// new one always has its whole backup, and the set run again completes and leaves no
// temporary file.
TEST_F(GameWriterTest, KilledWriteSetsLeaveEveryFileOldOrNewAndRunAgainToCompletion) {
    const auto before = files();
    const GameMessages read = readGameMessages(game, page());
    const std::vector<MessageChange> changes = {
        changeOf(messageAt(read, MessageKind::Map, 1, 1, 1, 0), {u"Neu", u"und länger"}),
        changeOf(messageAt(read, MessageKind::Map, 2, 3, 1, 0), {u"Ein Busch."}),
        changeOf(messageAt(read, MessageKind::Battle, 2, 0, 1, 1), {u"Zweig"})};
    writeMessages(game, settings, changes, page());
    const auto after = files();
    undoLastWrite(game, settings, false);

    std::mt19937 random(34);
    for (int kill = 0; kill < 20; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                writeMessages(game, settings, changes, page());
                undoLastWrite(game, settings, true);
            }
        }
        ::usleep(200 + random() % 60000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        for (const auto& [name, bytes] : before) {
            if (name.front() == '.')
                continue;
            const std::string now = readFile(game / name);
            EXPECT_TRUE(now == bytes || now == after.at(name)) << name << " torn after kill " << kill;
            if (now != bytes && now != after.at(name))
                continue;
            if (now == bytes)
                continue;
            // A new file: some write set not undone holds its old bytes whole.
            bool backedUp = false;
            for (const auto& set : fs::directory_iterator(backupFolder(game, settings)))
                backedUp = backedUp || (fs::exists(set.path() / "schreibsatz.txt") &&
                                        !fs::exists(set.path() / "zurueckgenommen.txt") &&
                                        readFile(set.path() / name) == bytes);
            EXPECT_TRUE(backedUp) << name << " new without its backup after kill " << kill;
        }
    }
    writeMessages(game, settings, changes, page());
    EXPECT_EQ(files(), after) << "not complete, or a temporary file left";
}
#endif

#ifdef ZEILWERK_PROGRAM
struct Ran {
    int status = -1;
    std::string out, err;
};

// The real program, copied into a folder of its own: that folder is its settings folder.
class WriteCommandLineTest : public GameWriterTest {
protected:
    void SetUp() override {
        GameWriterTest::SetUp();
        fs::create_directories(program);
        fs::copy_file(ZEILWERK_PROGRAM, program / "zeilwerk");
    }
    Ran run(const std::string& arguments) {
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY '" + (program / "zeilwerk").string() + "' " +
                                    arguments + " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(dir / "out"), readFile(dir / "err")};
    }
    std::string quoted(const fs::path& p) const { return "'" + p.string() + "'"; }

    fs::path program = dir / "Programm";
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(WriteCommandLineTest, ACsvEditedAsASpreadsheetSavesItIsWrittenAndUndone) {
    const auto before = files();
    const Ran listed = run("--liste " + quoted(game) + " --format csv");
    ASSERT_EQ(listed.status, 0) << listed.err;
    // As a spreadsheet saves it: a byte order mark, a field quoted that needs no quotes, a line
    // gained inside a quoted field, and one row whose checksum no longer fits.
    std::string csv = "\xEF\xBB\xBF" + listed.out;
    csv = replaced(csv, "karte,1,1,1,1,\"Hallo Wirt\nzweite Zeile\"", "karte,1,1,1,1,\"Grüß dich, Wirt\r\nzweite Zeile\r\ndritte\"");
    csv = replaced(csv, "kampf,2,,2,0,Runde zwei", "kampf,2,,2,0,\"Runde \"\"drei\"\"\"");
    csv = replaced(csv, "karte,2,3,1,0,Ein Baum.,", "karte,2,3,1,0,Ein Busch.,");
    const size_t row = csv.find("karte,2,3,1,0,");
    csv.replace(csv.find("\r\n", row) - 8, 8, "00000000");
    writeFile(dir / "edit.csv", csv);

    const Ran written = run("--einspielen " + quoted(game) + " " + quoted(dir / "edit.csv"));
    EXPECT_EQ(written.status, 1) << written.out << written.err;
    EXPECT_NE(written.out.find("geschrieben: Karte 1 »Dorf«, Ereignis 1, Seite 1, Befehl 1"), std::string::npos) << written.out;
    EXPECT_NE(written.out.find("abgelehnt: Karte 2 »Wald«, Ereignis 3, Seite 1, Befehl 0: Die Nachricht wurde inzwischen geändert."),
              std::string::npos) << written.out;
    EXPECT_NE(written.out.find("2 Nachrichten in 2 Dateien geschrieben, 1 abgelehnt."), std::string::npos) << written.out;

    // Listed again, only the two rows differ.
    const Ran again = run("--liste " + quoted(game) + " --format csv");
    std::vector<std::vector<std::string>> a = readCsv(listed.out), b = readCsv(again.out);
    ASSERT_EQ(a.size(), b.size());
    std::vector<std::string> changed;
    for (size_t i = 0; i < a.size(); ++i) {
        a[i].erase(a[i].begin() + 4);
        b[i].erase(b[i].begin() + 4);
        if (a[i] != b[i])
            changed.push_back(b[i][4]);
    }
    EXPECT_EQ(changed, (std::vector<std::string>{"Grüß dich, Wirt\nzweite Zeile\ndritte", "Runde \"drei\""}));

    // The same file again: nothing more to write; the stale row is still refused.
    const Ran twice = run("--einspielen " + quoted(game) + " " + quoted(dir / "edit.csv"));
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.out.find("0 Nachrichten in 0 Dateien geschrieben, 1 abgelehnt."), std::string::npos) << twice.out;

    const Ran undone = run("--rueckgaengig " + quoted(game));
    EXPECT_EQ(undone.status, 0) << undone.err;
    EXPECT_NE(undone.out.find("Zurückgenommen: Map0001.lmu, RPG_RT.ldb"), std::string::npos) << undone.out;
    EXPECT_EQ(files(), before);
    EXPECT_EQ(run("--rueckgaengig " + quoted(game)).status, 2);
    EXPECT_EQ(run("--einspielen " + quoted(game) + " " + quoted(dir / "fehlt.csv")).status, 2);
    writeFile(dir / "kaputt.csv", "art,text\n\"offen");
    const Ran broken = run("--einspielen " + quoted(game) + " " + quoted(dir / "kaputt.csv"));
    EXPECT_EQ(broken.status, 2);
    EXPECT_NE(broken.err.find("wird nicht geschlossen"), std::string::npos) << broken.err;
    EXPECT_EQ(files(), before);
}
#endif

TEST(WordReplace, WholeWordsInTheirCase) {
    struct Row {
        std::u16string line, from, to, expected;
        int count;
    };
    const std::vector<Row> rows = {
        {u"Gerwnia ist weit.", u"Gerwnia", u"Gerwina", u"Gerwina ist weit.", 1},
        {u"GERWNIA! gerwnia, Gerwnia.", u"gerwnia", u"Gerwina", u"GERWINA! gerwina, Gerwina.", 3},
        {u"Gerwnias Tor, NeuGerwnia", u"Gerwnia", u"Gerwina", u"Gerwnias Tor, NeuGerwnia", 0},
        {u"\\c[2]Gerwnia\\c[0] und \\n[1]", u"Gerwnia", u"Gerwina", u"\\c[2]Gerwina\\c[0] und \\n[1]", 1},
        {u"Öde Öde ÖDE öde", u"öde", u"Leere", u"Leere Leere LEERE leere", 4},
        {u"c c", u"c", u"d", u"d d", 2},
    };
    for (const Row& row : rows) {
        int count = -1;
        EXPECT_EQ(replaceWholeWord(row.line, row.from, row.to, &count), row.expected);
        EXPECT_EQ(count, row.count);
    }
}

TEST(WordReplace, ThePlanNamesEveryChangedLine) {
    std::vector<GameMessage> messages(3);
    messages[0].lines = {u"Gerwnia", u"nichts", u"in GERWNIA"};
    messages[1].lines = {u"nichts hier"};
    messages[2].lines = {u"Nach Gerwnia"};
    messages[2].place.command = 9;
    const auto plan = planWordReplacement(messages, u"Gerwnia", u"Gerwina");
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].changedLines, (std::vector<int>{0, 2}));
    EXPECT_EQ(plan[0].change.lines, (std::vector<std::u16string>{u"Gerwina", u"nichts", u"in GERWINA"}));
    EXPECT_EQ(plan[0].change.checksum, messageChecksum(messages[0].lines));
    EXPECT_EQ(plan[1].change.place.command, 9);
    EXPECT_EQ(plan[1].count, 1);
}

TEST(Csv, ReadsWhatSpreadsheetsWrite) {
    struct Row {
        const char* name;
        std::string text;
        std::vector<std::vector<std::string>> rows;
    };
    const std::vector<Row> rows = {
        {"plain", "a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}},
        {"BOM and CRLF", "\xEF\xBB\xBF" "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
        {"no line end at the end", "a,b\r\nc,", {{"a", "b"}, {"c", ""}}},
        {"doubled quotes", "\"sag \"\"hallo\"\"\",x\n", {{"sag \"hallo\"", "x"}}},
        {"line breaks inside", "\"eins\r\nzwei\ndrei\",\"\"\n", {{"eins\r\nzwei\ndrei", ""}}},
        {"comma inside", "\"a,b\",c", {{"a,b", "c"}}},
        {"old Mac line ends", "a\rb\r", {{"a"}, {"b"}}},
        {"umlauts", "Grüße,Straße\n", {{"Grüße", "Straße"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readCsv(row.text), row.rows);
    }
    EXPECT_THROW(readCsv("\"offen\n"), Error);
    EXPECT_THROW(readCsv("\"zu\"danach\n"), Error);
    const std::vector<std::string> fields = {"\xEF\xBB\xBF" "a", "b,c", "\"q\"", "x\r\ny", ""};
    EXPECT_EQ(readCsv(csvRow(fields) + csvRow(fields)), (std::vector<std::vector<std::string>>{fields, fields}));
}

}  // namespace
}  // namespace zeilwerk::test
