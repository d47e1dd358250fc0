#include "core/game/game_checks.h"
#include "core/game/game_database.h"
#include "core/game/game_folder.h"
#include "core/game/map_tree.h"
#include "core/game/map_unit.h"

#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "lcf_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zeilwerk::test {
namespace {

constexpr std::uint32_t kBranch = 12010, kElse = 22010, kBranchEnd = 22011;

void write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Our game: two maps in the tree (the second shown first), one map it does not name, one
// damaged map, a common event that sets a face, a troop; file names in mixed case.
void writeMessageGame(const std::filesystem::path& folder, bool damaged) {
    const std::string common = commonEvents(
        {{4, "Gesicht",
          {changeFace("Gemein", 0), {kBranch, 0, "", {0, 1}}, windowOptions(1, 1), {kBranchEnd, 0, "", {}},
           showMessage("Gemeinsam")}}});
    const std::string troop = troops({{2, "Wölfe", {{1, {showMessage("Kampf!")}}}}});
    write(folder / "rpg_rt.LDB", gameDatabase({{1, "Alex"}}, "", "", false, troop + common));
    write(folder / "RPG_RT.lmt", mapTree({{1, "Dorf"}, {2, "Wald"}, {3, "Kaputt"}}, {2, 1, 3}));
    const std::vector<LcfPage> village = {
        {1,
         {changeFace("Held", 3), windowOptions(0), showMessage("Hallo"), messageLine("Welt"), {kBranch, 0, "", {0, 1}},
          changeFace("Boese", 1, true, 1), showMessage("Drinnen", 1), {kBranchEnd, 0, "", {}}, showMessage("Danach"),
          callCommon(4), showMessage("Nach Aufruf")}},
        {2, {{kBranch, 0, "", {0, 1}}, changeFace("A", 0, false, 1), {kElse, 0, "", {}}, showMessage("Sonst", 1)}}};
    write(folder / "Map0001.lmu", mapUnit({{3, "Wirt", village}}));
    write(folder / "map0002.LMU",
          mapUnit({{1, "Baum", {{1, {showMessage("Wald 1")}}, {2, {showMessage("Wald 2"), messageLine("b")}}}}}));
    write(folder / "MAP0004.lmu", mapUnit({{1, "X", {{1, {showMessage("Vier")}}}}}));
    if (damaged) {
        const std::string map = mapUnit({{1, "Y", {{1, {showMessage("nie")}}}}});
        write(folder / "Map0003.lmu", map.substr(0, map.size() - 9));
    }
}

std::string place(const GameMessage& m) {
    const char* kinds[] = {"karte", "allgemein", "kampf"};
    return std::string(kinds[static_cast<int>(m.place.kind)]) + " " + std::to_string(m.place.source) + "/" +
           std::to_string(m.place.event) + "/" + std::to_string(m.place.page) + "/" + std::to_string(m.place.command);
}

TEST(GameEvents, ReadsEveryMessageWithItsPlaceAndLook) {
    TempDir dir;
    writeMessageGame(dir.path(), true);
    const GameMessages game = readGameMessages(dir.path(), CodePage::system());

    ASSERT_EQ(game.skipped.size(), 1u);
    EXPECT_EQ(game.skipped[0].file, "Map0003.lmu");
    EXPECT_EQ(game.mapNames.at(1), u"Dorf");
    EXPECT_EQ(game.heroNames.at(1), u"Alex");

    struct Row {
        std::string place;
        std::vector<std::u16string> lines;
        std::u16string face;
        bool faceUncertain;
        int position;
        bool optionsUncertain;
    };
    // The tree's order (map 2, then 1), the map it does not name, the common event, the troop.
    const std::vector<Row> rows = {
        {"karte 2/1/1/0", {u"Wald 1"}, u"", false, 2, false},
        {"karte 2/1/2/0", {u"Wald 2", u"b"}, u"", false, 2, false},
        {"karte 1/3/1/2", {u"Hallo", u"Welt"}, u"Held", false, 0, false},
        {"karte 1/3/1/6", {u"Drinnen"}, u"Boese", false, 0, false},
        {"karte 1/3/1/8", {u"Danach"}, u"Boese", true, 0, false},
        {"karte 1/3/1/10", {u"Nach Aufruf"}, u"Gemein", false, 1, true},
        {"karte 1/3/2/3", {u"Sonst"}, u"A", true, 2, false},
        {"karte 4/1/1/0", {u"Vier"}, u"", false, 2, false},
        {"allgemein 4/0/0/4", {u"Gemeinsam"}, u"Gemein", false, 1, true},
        {"kampf 2/0/1/0", {u"Kampf!"}, u"", false, 2, false},
    };
    ASSERT_EQ(game.messages.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const GameMessage& m = game.messages[i];
        SCOPED_TRACE(rows[i].place);
        EXPECT_EQ(place(m), rows[i].place);
        EXPECT_EQ(m.lines, rows[i].lines);
        EXPECT_EQ(m.look.face, rows[i].face);
        EXPECT_EQ(m.look.faceUncertain, rows[i].faceUncertain);
        EXPECT_EQ(m.look.position, rows[i].position);
        EXPECT_EQ(m.look.optionsUncertain, rows[i].optionsUncertain);
        EXPECT_EQ(m.look.battle, m.place.kind == MessageKind::Battle);  // RPG Maker 2003 draws it opaque
    }
    EXPECT_EQ(game.messages[2].look.faceIndex, 3);
    EXPECT_TRUE(game.messages[3].look.faceRight);
}

TEST(GameEvents, ThePartsComeInTheTreesOrderAndACancelStopsBetweenFiles) {
    TempDir dir;
    writeMessageGame(dir.path(), true);
    // Each part as kind, source, messages and skipped files; the names come first.
    const auto parts = [&](int stopAfter) {
        std::vector<std::string> out;
        const bool complete = readGameMessages(
            dir.path(), CodePage::system(),
            [&](GamePart&& p) {
                out.push_back(p.names ? "namen " + std::to_string(p.parts) + " teile, " + std::to_string(p.mapNames.size()) + " karten"
                                      : std::to_string(static_cast<int>(p.kind)) + " " + std::to_string(p.source) + ": " +
                                            std::to_string(p.messages.size()) + "/" + std::to_string(p.skipped.size()));
            },
            [&] { return static_cast<int>(out.size()) >= stopAfter; });
        out.push_back(complete ? "fertig" : "abgebrochen");
        return out;
    };
    EXPECT_EQ(parts(100), (std::vector<std::string>{"namen 6 teile, 3 karten", "0 2: 2/0", "0 1: 5/0", "0 3: 0/1",
                                                    "0 4: 1/0", "1 0: 1/0", "2 0: 1/0", "fertig"}));
    EXPECT_EQ(parts(2), (std::vector<std::string>{"namen 6 teile, 3 karten", "0 2: 2/0", "abgebrochen"}));
    // The whole reading is the same parts put together.
    EXPECT_EQ(readGameMessages(dir.path(), CodePage::system()).messages.size(), 10u);
}

TEST(GameEvents, DamagedFilesAreRefusedWithTheirReason) {
    const std::string map = mapUnit({{1, "Y", {{1, {showMessage("Text")}}}}});
    const std::string tree = mapTree({{1, "Dorf"}}, {1});
    const std::string base = gameDatabase({{1, "Alex"}}, "", "", false, commonEvents({{1, "C", {showMessage("x")}}}));
    // A parameter count of 2^28 with no parameters behind it; an event count with no events.
    const std::string hugeCount = lcfHeader("LcfMapUnit") +
                                  lcfChunk(0x51, lcfNumber(1) + lcfNumber(1) +
                                                     lcfChunk(0x05, lcfNumber(1) + lcfNumber(1) +
                                                                        lcfChunk(0x34, lcfNumber(10110) + lcfNumber(0) +
                                                                                           lcfNumber(0) + lcfNumber(1u << 28)) +
                                                                        lcfNumber(0)) +
                                                     lcfNumber(0));
    const std::string manyEvents = lcfHeader("LcfMapUnit") + lcfChunk(0x51, lcfNumber(0x0FFFFFFF));
    struct Row {
        const char* what;
        std::function<void(const std::string&)> read;
        std::string bytes;
        const char* reason;
    };
    const auto readMap = [](const std::string& b) { readMapUnit(b); };
    const auto readTree = [](const std::string& b) { readMapTree(b); };
    const auto readDb = [](const std::string& b) {
        DatabaseEvents events;
        readGameDatabase(b, &events);
    };
    const std::vector<Row> rows = {
        {"map cut short", readMap, map.substr(0, map.size() - 5), "beschädigt"},
        {"map header", readMap, "\x0ALcfMapTree" + map.substr(11), "beschädigt"},
        {"map parameter count", readMap, hugeCount, "beschädigt"},
        {"map event count", readMap, manyEvents, "beschädigt"},
        {"tree cut short", readTree, tree.substr(0, tree.size() - 8), "beschädigt"},
        {"tree header", readTree, map, "beschädigt"},
        {"database cut short", readDb, base.substr(0, base.size() - 6), "keine Datenbank"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        try {
            row.read(row.bytes);
            ADD_FAILURE() << "read";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(row.reason), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(readMapUnit(map).size(), 1u);
    EXPECT_EQ(readMapTree(tree).order, std::vector<int>{1});
}

TEST(GameChecks, FindsWhatTheGameShowsWrong) {
    const std::map<int, std::u16string> heroes = {{0, u"Alex"}, {1, u"Alex"}};
    const std::u16string x50(50, u'x');
    struct Row {
        std::u16string line;
        bool faceLeft;
        std::vector<std::string> kinds;
    };
    const std::vector<Row> rows = {
        {u"Hallo \\c[3]Welt\\C[0] \\s[5]\\S[20]\\N[1]\\n[0]", false, {}},
        {x50, false, {}},
        {x50 + u"x", false, {"zu_breit"}},
        {std::u16string(38, u'x'), true, {}},
        {std::u16string(39, u'x'), true, {"zu_breit"}},
        {u"\\n[1]" + std::u16string(46, u'x'), false, {}},
        {u"\\n[1]" + std::u16string(47, u'x'), false, {"zu_breit"}},
        {u"\\v[1]" + std::u16string(42, u'x'), false, {}},
        {u"\\v[1]" + std::u16string(43, u'x'), false, {"zu_breit"}},
        {u"\\_\\_" + x50, false, {"zu_breit"}},
        {u"$A$B" + std::u16string(46, u'x'), false, {}},
        {u"$A$B" + std::u16string(47, u'x'), false, {"zu_breit"}},
        {u"\\$\\!\\.\\|\\>\\<\\^\\\\\\c[\\v[2]]", false, {}},
        {u"\\q und \\C[20]", false, {"unbekannter_code", "falsche_farbe"}},
        {u"\\s[0]\\S[21]", false, {"falsches_tempo"}},
        {u"\\n[9]", false, {"unbekannter_held"}},
        {u"\\c[3", false, {"unbekannter_code"}},
        {u"\\c3 \\v[a]", false, {"unbekannter_code", "unbekannter_code"}},
        {u"Ende\\", false, {"unbekannter_code"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.line.begin(), row.line.end()));
        GameMessage message;
        message.lines = {row.line};
        if (row.faceLeft)
            message.look.face = u"Held";
        std::vector<Finding> findings;
        checkMessage(message, heroes, CodePage::system(), {}, findings);
        std::vector<std::string> kinds;
        for (const Finding& f : findings) {
            kinds.push_back(findingKindId(f.kind));
            EXPECT_EQ(f.line, 1);
            EXPECT_FALSE(f.reason.empty());
        }
        EXPECT_EQ(kinds, row.kinds);
    }
    GameMessage five;
    five.lines = {u"1", u"2", u"3", u"4", u"5"};
    std::vector<Finding> findings;
    checkMessage(five, heroes, CodePage::system(), {}, findings);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].kind, FindingKind::TooManyLines);
    EXPECT_EQ(findings[0].line, 0);
    // Full-width characters take two cells; "\v[n]" counts as wide as the caller says.
    EXPECT_EQ(gameLineWidth(u"あいa", {}, CodePage("CP932")), 30);
    EXPECT_EQ(gameLineWidth(u"\\v[1]", {}, CodePage::system(), {3, 0, {}}), 18);
}

#ifdef ZEILWERK_PROGRAM
std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(CommandLine, ListsAndChecksAGameFolderWithoutADisplay) {
    TempDir dir;
    const std::filesystem::path game = dir.path() / "Spiel";
    std::filesystem::create_directories(game);
    writeMessageGame(game, false);
    write(game / "map0002.LMU", mapUnit({{1, "B", {{1, {showMessage("Wald \\c[25]"), messageLine("Zeile, \"zwei\"")}}}}}));
    struct Row {
        std::string arguments;
        int status;
        std::string output;
    };
    const std::string folder = "'" + game.string() + "'";
    const std::vector<Row> rows = {
        {"--liste " + folder, 0, "Karte 1 »Dorf«, Ereignis 3, Seite 1: Hallo / Welt (Befehl 2; Gesicht »Held« Nr. 3 links"},
        {"--liste " + folder + " --format csv", 0,
         // "Wald " 0 1 0 1 1, the code 1, the line end after it 1; 13 characters 6 and the last 2: 13
         "art,quelle,ereignis,seite,befehl,text,frames,tasten,pruefsumme\r\nkarte,2,1,1,0,\"Wald \\c[25]\nZeile, \"\"zwei\"\"\",13,1,"},
        {"--pruefen " + folder, 1, "Karte 2 »Wald«, Ereignis 1, Seite 1: Befehl 0, Zeile 1: "},
        {"--pruefen " + folder + " --format csv", 1, "art,quelle,ereignis,seite,befehl,zeile,pruefung,hinweis\r\n"
                                                     "karte,2,1,1,0,1,falsche_farbe,"},
        {"--pruefen '" + (dir.path() / "fehlt").string() + "'", 2, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments);
        const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY '") + ZEILWERK_PROGRAM + "' " +
                                    row.arguments + " >'" + (dir.path() / "out").string() + "' 2>'" +
                                    (dir.path() / "err").string() + "'";
        const int raw = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), row.status);
        const std::string out = slurp(dir.path() / "out");
        EXPECT_NE(out.find(row.output), std::string::npos) << out;
        if (row.status == 2) {
            EXPECT_NE(slurp(dir.path() / "err").find("lässt sich nicht lesen"), std::string::npos);
        }
    }
}
#endif

}  // namespace
}  // namespace zeilwerk::test
