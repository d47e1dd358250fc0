#include "spelling/game_check.h"
#include "spelling/game_speller.h"
#include "spelling/speller.h"
#include "spelling/spelling_check.h"
#include "spelling/word_list.h"

#include "core/message/spelling_words.h"
#include "core/platform/error.h"
#include "core/platform/text.h"
#include "lcf_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zeilwerk::test {
namespace {

// "word@offset|..." of a line, so a row shows both what was taken and where.
std::string shown(std::u16string_view line, const std::vector<SpellingWord>& words) {
    std::string out;
    for (const SpellingWord& w : words)
        out += (out.empty() ? "" : "|") + toUtf8(line.substr(w.at, w.length)) + "@" + std::to_string(w.at);
    return out;
}

// The whole game's check hands its findings over in batches and stops when told, before a message.
TEST(Spelling, TheWholeGameIsCheckedInBatchesUntilStopped) {
    auto list = std::make_shared<std::vector<GameMessage>>();
    for (int i = 0; i < 5; ++i)
        list->push_back(GameMessage{{}, {u"Eine Zeile", u"zwei", u"drei", u"vier", u"fünf"}, {}});
    const GameCheck check;  // no dictionary: the checks alone
    for (const bool stopped : {false, true}) {
        const std::atomic<bool> stop(stopped);
        std::vector<std::pair<size_t, int>> batches;
        const bool complete = checkWholeGame(check, {list}, 2, stop, [&](std::vector<Finding>&& found, int checked) {
            batches.emplace_back(found.size(), checked);
        });
        EXPECT_EQ(complete, !stopped);
        // Five lines each: one finding a message.
        using Batches = std::vector<std::pair<size_t, int>>;
        EXPECT_EQ(batches, stopped ? Batches() : Batches({{2, 2}, {2, 4}, {1, 5}}));
    }
}

TEST(Spelling, TakesTheWordsOfALineAndLeavesCodesNumbersAndHeroesAlone) {
    const std::unordered_set<std::u16string> heroes = nameWords({{1, u"Alex"}, {2, u"Mira Sturmfels"}});
    struct Row {
        std::u16string line;
        std::string words;
    };
    const std::vector<Row> rows = {
        {u"Hallo Welt", "Hallo@0|Welt@6"},
        {u"\\c[2]Alex:\\C[0] Guten Tag, Mira", "Guten@16|Tag@22"},
        {u"\\n[1]s Schwert, \\N[2] lacht", "Schwert@7|lacht@22"},
        {u"Du hast \\v[12] Goldstücke\\. und \\V[13] Tränke", "Du@0|hast@3|Goldstücke@15|und@28|Tränke@39"},
        {u"$Aund Herz$Bklopft", "und@2|Herz@6|klopft@12"},
        {u"Drachen-Höhle, Straße", "Drachen@0|Höhle@8|Straße@15"},
        {u"Wie geht's? 'Gut' hab'", "Wie@0|geht's@4|Gut@13|hab@18"},
        {u"Level5 hat 300 Gold, 2te x", "hat@7|Gold@15|x@25"},
        {u"\\c[\\v[3]]Rot\\s[5]\\|\\!\\^\\>\\<\\_\\$\\\\Ende\\x", "Rot@9|Ende@33"},
        {u"Auf \\c[3 immer offen", "Auf@0"},
        {u"あいう ÄÖÜ×äöü", "ÄÖÜ@4|äöü@8"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(toUtf8(row.line));
        EXPECT_EQ(shown(row.line, spellingWords(row.line, heroes)), row.words);
    }
}

// A dictionary of our own: UTF-8, or ISO-8859-1 with its umlauts as single bytes.
void writeDictionary(const std::filesystem::path& folder, const std::string& name, const std::string& aff,
                     const std::string& dic) {
    writeFile(folder / (name + ".aff"), aff);
    writeFile(folder / (name + ".dic"), dic);
}

TEST(Spelling, SpeaksToADictionaryInItsOwnEncoding) {
    TempDir dir;
    writeDictionary(dir.path(), "xx_UTF", "SET UTF-8\nTRY äöüßaeiou\n", "3\nHaus\nBär\nStraße\n");
    writeDictionary(dir.path(), "xx_LATIN", "SET ISO8859-1\nTRY \xe4\xf6\xfc\xdf" "aeiou\n", "2\nK\xe4se\nMu\xdf\n");
    struct Row {
        std::string name;
        std::u16string known, unknown, typo, suggestion, addable;
    };
    const std::vector<Row> rows = {
        {"xx_UTF", u"Straße", u"Strase", u"Bar", u"Bär", u"Zwerg"},
        {"xx_LATIN", u"Muß", u"Kese", u"Kase", u"Käse", u"Łódź"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Speller speller(row.name, {dir.path() / "fehlt", dir.path()});
        EXPECT_EQ(speller.affixFile(), dir.path() / (row.name + ".aff"));
        EXPECT_TRUE(speller.check(row.known));
        EXPECT_FALSE(speller.check(row.unknown));
        const std::vector<std::u16string> suggestions = speller.suggest(row.typo);
        EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), row.suggestion), suggestions.end());
        EXPECT_FALSE(speller.check(row.addable));
        speller.add(row.addable);
        EXPECT_TRUE(speller.check(row.addable));
    }
    try {
        Speller missing("de_XX", {dir.path()});
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Das Wörterbuch „de_XX“ wurde nicht gefunden"), std::string::npos);
    }
}

TEST(Spelling, FindsTyposWithTheGermanDictionary) {
    std::vector<std::filesystem::path> folders = dictionaryFolders(".");
#ifdef _WIN32
    GTEST_SKIP() << "de_DE comes with the zip, not with the tests";
#endif
    Speller speller("de_DE", folders);
    for (const std::u16string word : {u"Straße", u"Goldstücke", u"Tränke", u"eingestürzt", u"Weilchen", u"geht"})
        EXPECT_TRUE(speller.check(word)) << toUtf8(word);
    for (const std::u16string word : {u"Wrot", u"Schwret", u"Strase"})
        EXPECT_FALSE(speller.check(word)) << toUtf8(word);

    GameMessages game;
    game.heroNames = {{1, u"Xalûn"}};
    game.messages.push_back({{}, {u"Das Wrot von Xalûn, gibt's das?", u"\\c[2]Gold\\c[0] und Wrot, Wrot!"}, {}});
    const std::vector<Finding> findings = checkSpelling(game, speller);
    ASSERT_EQ(findings.size(), 2u);  // one a line and word
    EXPECT_EQ(findings[0].line, 1);
    EXPECT_EQ(findings[1].line, 2);
    EXPECT_EQ(findings[0].kind, FindingKind::Spelling);
    EXPECT_EQ(findings[0].reason.rfind("„Wrot“ steht nicht im Wörterbuch (Vorschl", 0), 0u) << findings[0].reason;
    EXPECT_NE(findings[0].reason.find("Wort"), std::string::npos) << findings[0].reason;

    SpellingCheck check(speller, game.heroNames);
    EXPECT_EQ(shown(u"Wrot Xalûn Wrot", check.wrongWords(u"Wrot Xalûn Wrot")), "Wrot@0|Wrot@11");
    check.add(u"Wrot");
    EXPECT_TRUE(check.wrongWords(u"Wrot").empty());
}

// What a real game's text is full of and is no mistake, and the mistakes among it, with the
// German dictionary: each row a little game of its own (an event a message) and the words it
// reports, in the order found.
TEST(Spelling, KnowsTheGamesOwnWordsAndFindsItsTypos) {
#ifdef _WIN32
    GTEST_SKIP() << "de_DE comes with the zip, not with the tests";
#endif
    Speller speller("de_DE", dictionaryFolders("."));
    struct Row {
        const char* what;
        std::vector<std::vector<std::u16string>> messages;
        std::string reported;
    };
    const std::vector<Row> rows = {
        {"speaker and the name's endings", {{u"\\c[4]Ortwin:\\c[0]", u"Da!"}, {u"Ortwins Hut, Ortwin's Stab,"}, {u"die Ortwin-Statue."}}, ""},
        {"a hero of the database", {{u"Mira und Miras Schwert"}}, ""},
        {"hyphenated across lines", {{u"Der Aufent-", u"halt war kurz."}}, ""},
        {"hyphenated, mistyped", {{u"Der Aufent-", u"hlat war kurz."}}, "Aufenthlat"},
        {"a capital keeps the hyphen", {{u"Die Drachen-", u"Höhle"}}, ""},
        {"compounds", {{u"Zauberpunkte und Räuberanführer, die Frevlerin."}}, ""},
        {"a compound with a part mistyped", {{u"Zauberpumkte"}}, "Zauberpumkte"},
        {"a slip that splits into parts by chance", {{u"Das Gehhirn"}}, "Gehhirn"},
        {"sounds drawn out", {{u"Grrrr! Aaaah, Hmmmm. Neiiin!"}}, ""},
        {"a consonant tripled", {{u"Der Verrriss"}}, "Verrriss"},
        {"interjections", {{u"Tja, naja. Mhm. Pff."}}, ""},
        {"the game's own word: three times in two events", {{u"Des is dahoam."}, {u"dahoam, dahoam"}}, ""},
        {"three times in one event is not enough", {{u"dahoam, dahoam, dahoam"}}, "dahoam"},
        {"a name mistyped once", {{u"Gerwina"}, {u"Gerwina"}, {u"Gerwina"}, {u"Gerwnia"}}, "Gerwnia"},
        {"a word mistyped", {{u"Das Schwret"}}, "Schwret"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        GameMessages game;
        game.heroNames = {{1, u"Mira"}};
        for (size_t i = 0; i < row.messages.size(); ++i)
            game.messages.push_back({{MessageKind::Map, 1, static_cast<int>(i) + 1, 1, 0}, row.messages[i], {}});
        std::string reported;
        for (const Finding& f : checkSpelling(game, speller, false))
            reported += (reported.empty() ? "" : " ") + toUtf8(f.word);
        EXPECT_EQ(reported, row.reported);
    }

    // A hyphenated word goes on in the next message of the same page, not of another page.
    GameMessages pages;
    pages.messages = {{{MessageKind::Map, 1, 1, 1, 0}, {u"Der Aufent-"}, {}}, {{MessageKind::Map, 1, 1, 1, 2}, {u"halt."}, {}},
                      {{MessageKind::Map, 1, 1, 2, 0}, {u"Der Aufent-"}, {}}, {{MessageKind::Map, 1, 1, 3, 0}, {u"halt."}, {}}};
    std::string reported;
    for (const Finding& f : checkSpelling(pages, speller, false))
        reported += toUtf8(f.word) + "@" + std::to_string(f.place.page) + " ";
    EXPECT_EQ(reported, "Aufent@2 ");  // "halt" alone is a word

    // The near word is named with how often the game uses it.
    GameMessages names;
    for (int i = 1; i <= 4; ++i)
        names.messages.push_back({{MessageKind::Map, 1, i, 1, 0}, {i < 4 ? u"Gerwina" : u"Gerwnia"}, {}});
    const std::vector<Finding> nearly = checkSpelling(names, speller, false);
    ASSERT_EQ(nearly.size(), 1u);
    EXPECT_EQ(nearly[0].reason, "„Gerwnia“: meintest du Gerwina (3 ×)?");
    EXPECT_EQ(nearly[0].nearCount, 3);
}

TEST(Spelling, KeepsTheGamesWordsInTheSettingsFolder) {
    TempDir dir;
    const std::filesystem::path game = dir.path() / "Spiel", settings = dir.path() / "Einstellungen";
    std::filesystem::create_directories(game);
    const std::filesystem::path list = wordListPath(settings, game);
    EXPECT_EQ(list.parent_path(), settings / "woerterlisten");
    EXPECT_TRUE(std::regex_match(list.filename().string(), std::regex("woerter-[0-9a-f]{16}\\.txt")));
    EXPECT_EQ(wordListPath(settings, game / "." / ""), list);
    EXPECT_NE(wordListPath(settings, dir.path() / "Anderes"), list);

    EXPECT_TRUE(readWordList(list).empty());
    addToWordList(list, game, u"Mörkhall");
    addToWordList(list, game, u"Xalûn");
    addToWordList(list, game, u"Mörkhall");
    EXPECT_EQ(readWordList(list), (std::vector<std::u16string>{u"Mörkhall", u"Xalûn"}));
    const std::string text = readFile(list);
    EXPECT_EQ(text.rfind("# ", 0), 0u);
    EXPECT_NE(text.substr(0, text.find('\n')).find(game.string()), std::string::npos) << text;
    EXPECT_TRUE(std::filesystem::is_empty(game));

    writeDictionary(dir.path(), "xx_UTF", "SET UTF-8\n", "1\nHaus\n");
    Speller speller("xx_UTF", {dir.path()});
    EXPECT_FALSE(speller.check(u"Mörkhall"));
    EXPECT_EQ(loadWordList(list, speller), 2u);
    EXPECT_TRUE(speller.check(u"Mörkhall"));

    EXPECT_THROW(addToWordList(wordListPath(game, game), game, u"Nie"), Error);
    EXPECT_TRUE(std::filesystem::is_empty(game));
}

// One opener for every caller: the speller with the game's words, or why there is none.
TEST(Spelling, OpensAGamesDictionaryOrSaysWhy) {
    TempDir dir;
    writeDictionary(dir.path(), "xx_UTF", "SET UTF-8\n", "1\nHaus\n");
    writeDictionary(dir.path(), "xx_ODD", "SET X-UNBEKANNT\n", "1\nHaus\n");
    const std::filesystem::path list = dir.path() / "woerter.txt";
    writeFile(list, "Mörkhall\n");
    const struct {
        std::string name;
        bool opened, missing;
        std::string problem;
    } rows[] = {
        {"xx_UTF", true, false, ""},
        {"xx_FEHLT", false, true, "Das Wörterbuch „xx_FEHLT“ wurde nicht gefunden"},
        {"../xx_UTF", false, true, "wurde nicht gefunden"},
        {"xx_ODD", false, false, "in der Kodierung X-UNBEKANNT geschrieben"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const GameSpeller opened = openGameSpeller(row.name, {dir.path()}, list);
        EXPECT_EQ(opened.speller != nullptr, row.opened);
        EXPECT_EQ(opened.missing, row.missing);
        EXPECT_NE(opened.problem.find(row.problem), std::string::npos) << opened.problem;
        EXPECT_TRUE(!opened.speller || opened.speller->check(u"Mörkhall"));
    }
}

#ifdef ZEILWERK_PROGRAM
// The real program, copied into a folder of its own: that folder is its settings folder.
TEST(Spelling, ChecksAGameOnTheCommandLine) {
    TempDir dir;
    const std::filesystem::path game = dir.path() / "Spiel", program = dir.path() / "Programm";
    std::filesystem::create_directories(game);
    std::filesystem::create_directories(program);
    std::filesystem::copy_file(ZEILWERK_PROGRAM, program / "zeilwerk");
    writeFile(game / "RPG_RT.ldb", gameDatabase({{1, "Alex"}}));
    writeFile(game / "RPG_RT.lmt", mapTree({{1, "Dorf"}}, {1}));
    writeFile(game / "Map0001.lmu",
              mapUnit({{1, "Wirt", {{1, {showMessage("Alex, das Wrot von M\xf6rkhall"), messageLine("\\c[25]")}}}}}));
    addToWordList(wordListPath(program, game), game, u"Mörkhall");

    struct Row {
        std::string arguments;
        int status;
        std::string out, err;
    };
    const std::string folder = "'" + game.string() + "'";
    const std::vector<Row> rows = {
        {"--pruefen " + folder + " --rechtschreibung", 1,
         "„Wrot“ steht nicht im Wörterbuch (Vorschl", ""},
        {"--pruefen " + folder + " --rechtschreibung", 1, "1 ×, zuerst Karte 1 »Dorf«, Ereignis 1, Seite 1: Befehl 0, Zeile 1", ""},
        {"--pruefen " + folder + " --rechtschreibung", 1, "1 Nachricht mit Befund, davon 1 Rechtschreibung (1 Wort an 1 Stelle).", ""},
        {"--pruefen " + folder + " --rechtschreibung --format csv", 1, ",1,rechtschreibung,\"„Wrot“ steht nicht",
         "1 Nachricht mit Befund"},
        {"--pruefen " + folder + " --rechtschreibung --woerter --format csv", 0, "wort,anzahl\r\n", ""},
        {"--pruefen " + folder + " --woerter", 2, "", "gehört zu --pruefen mit --rechtschreibung"},
        {"--pruefen " + folder + " --rechtschreibung --woerterbuch xx_FEHLT", 2, "", "„xx_FEHLT“ wurde nicht gefunden"},
        {"--liste " + folder + " --rechtschreibung", 2, "", "gehört zu --pruefen"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments);
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY '" + (program / "zeilwerk").string() + "' " +
                                    row.arguments + " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
        const int raw = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), row.status);
        const std::string out = readFile(dir / "out"), err = readFile(dir / "err");
        EXPECT_NE(out.find(row.out), std::string::npos) << out;
        EXPECT_NE(err.find(row.err), std::string::npos) << err;
        // The hero, the word list's word and the colour finding's code are no spelling mistakes.
        for (const char* word : {"„Alex“", "„Mörkhall“", "„c“"})
            EXPECT_EQ(out.find(word), std::string::npos) << out;
    }
    // Nothing was written beside the game.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(game), std::filesystem::directory_iterator()), 3);
}
#endif

}  // namespace
}  // namespace zeilwerk::test
