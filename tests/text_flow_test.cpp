#include "core/game/text_flow.h"

#include "core/game/game_checks.h"
#include "core/platform/code_page.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zeilwerk::test {
namespace {

using Boxes = std::vector<std::vector<std::u16string>>;

const std::map<int, std::u16string> kHeroes = {{1, u"Ortwin"}, {2, u"Wendelgard"}};

Boxes linesOf(const std::vector<FlowBox>& boxes) {
    Boxes out;
    for (const FlowBox& box : boxes)
        out.push_back(box.lines);
    return out;
}

// Every line as wide as the game's own layout finds it: within the room unless the flow
// marked it, and beyond it when marked.
void expectWithinRoom(const std::vector<FlowBox>& boxes, int room, const CheckSettings& settings) {
    for (const FlowBox& box : boxes)
        for (size_t i = 0; i < box.lines.size(); ++i) {
            const bool marked = std::find(box.overlong.begin(), box.overlong.end(), static_cast<int>(i)) != box.overlong.end();
            const int width = gameLineWidth(box.lines[i], kHeroes, CodePage::system(), settings);
            EXPECT_EQ(width > room, marked) << "width " << width << " of line " << i;
        }
}

struct Row {
    const char* what;
    std::u16string text;
    int room;
    bool speaker;
    Boxes boxes;
    std::vector<int> overlong = {};  // of the first box that has any
    int variableCharacters = 8;
};

TEST(TextFlow, BreaksAsTheGameLaysOutItsLines) {
    const std::vector<Row> rows = {
        {"a code stays with its word and is no wider than nothing", u"\\c[2]abc de fgh", 36, true,
         {{u"\\c[2]abc de", u"fgh"}}},
        {"a hero's name is as wide as the name", u"\\n[1] sagt ja", 60, true, {{u"\\n[1]", u"sagt ja"}}},
        {"an unknown hero prints nothing", u"\\n[7] sagt ja", 60, true, {{u"\\n[7] sagt ja"}}},
        {"\\v[n] is as wide as \"Breite von \\v\" counts", u"\\v[5] Gold", 60, true, {{u"\\v[5]", u"Gold"}}},
        {"a narrow \\v[n]", u"\\v[5] Gold", 60, true, {{u"\\v[5] Gold"}}, {}, 2},
        {"a symbol is 12 px", u"$A$B ab", 36, true, {{u"$A$B", u"ab"}}},
        {"a half space is 3 px", u"a\\_b cd", 36, true, {{u"a\\_b cd"}}},
        {"a full box starts the next", u"aaaaa bbbbb ccccc ddddd eeeee", 48, true,
         {{u"aaaaa", u"bbbbb", u"ccccc", u"ddddd"}, {u"eeeee"}}},
        {"the speaker heads every box, three lines under it", u"Ortwin: aaaaa bbbbb ccccc ddddd eeeee", 48, true,
         {{u"Ortwin:", u"aaaaa", u"bbbbb", u"ccccc"}, {u"Ortwin:", u"ddddd", u"eeeee"}}},
        {"without the speaker line the name flows as text", u"Ortwin: aaaaa bbbbb ccccc ddddd eeeee", 48, false,
         {{u"Ortwin:", u"aaaaa", u"bbbbb", u"ccccc"}, {u"ddddd", u"eeeee"}}},
        {"the speaker keeps the colour the maker gave it", u"\\c[2]Ortwin:\\c[0] aaaaa bbbbb ccccc ddddd", 48, true,
         {{u"\\c[2]Ortwin:\\c[0]", u"aaaaa", u"bbbbb", u"ccccc"}, {u"\\c[2]Ortwin:\\c[0]", u"ddddd"}}},
        {"a speaker's colour that runs on needs no code again", u"\\c[2]Ortwin: aaaaa bbbbb ccccc ddddd", 48, true,
         {{u"\\c[2]Ortwin:", u"aaaaa", u"bbbbb", u"ccccc"}, {u"\\c[2]Ortwin:", u"ddddd"}}},
        {"a speaker in a hero's name", u"\\n[2]: aaaaa", 80, true, {{u"\\n[2]:", u"aaaaa"}}},
        {"a sentence with a colon later has no speaker", u"Das ist es doch: aaaaa", 300, true, {{u"Das ist es doch: aaaaa"}}},
        {"the colour on at a box's end is set again", u"\\c[3]aaaaa bbbbb ccccc ddddd eeeee", 48, true,
         {{u"\\c[3]aaaaa", u"bbbbb", u"ccccc", u"ddddd"}, {u"\\c[3]eeeee"}}},
        {"colour and speed both", u"\\s[5]aaaaa bbbbb ccccc\\c[4] ddddd eeeee", 48, true,
         {{u"\\s[5]aaaaa", u"bbbbb", u"ccccc\\c[4]", u"ddddd"}, {u"\\c[4]\\s[5]eeeee"}}},
        {"a colour turned off needs nothing", u"\\c[3]aaaaa bbbbb ccccc ddddd\\c[0] eeeee", 48, true,
         {{u"\\c[3]aaaaa", u"bbbbb", u"ccccc", u"ddddd\\c[0]"}, {u"eeeee"}}},
        {"under a speaker the text's colour comes back", u"Ortwin: \\c[5]aaaaa bbbbb ccccc ddddd", 48, true,
         {{u"Ortwin:", u"\\c[5]aaaaa", u"bbbbb", u"ccccc"}, {u"Ortwin:", u"\\c[5]ddddd"}}},
        {"the colour runs into the next paragraph", u"\\c[6]aa\n\nbb", 48, true, {{u"\\c[6]aa"}, {u"\\c[6]bb"}}},
        {"a word longer than a line stands alone", u"ab abcdefgh cd", 24, true, {{u"ab", u"abcdefgh", u"cd"}}, {1}},
        {"a hyphenated word breaks after its hyphen", u"Nord-Süd-Bahn fährt", 60, true, {{u"Nord-Süd-", u"Bahn fährt"}}},
        {"a hyphen alone is no place to break", u"aaaa - bbbb", 36, true, {{u"aaaa -", u"bbbb"}}},
        {"an empty line parts paragraphs, a line break is a space", u"aa\nbb\n\n  \ncc", 300, true,
         {{u"aa bb"}, {u"cc"}}},
        {"304 px: fifty characters", std::u16string(50, u'a') + u" b", kTextWidth, true,
         {{std::u16string(50, u'a'), u"b"}}},
        {"232 px beside a face: thirty-eight characters", std::u16string(38, u'a') + u" b", kTextWidthFace, true,
         {{std::u16string(38, u'a'), u"b"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CheckSettings settings;
        settings.variableCharacters = row.variableCharacters;
        LineMeasure measure = LineMeasure::gamePixels(kHeroes, settings, CodePage::system());
        const std::vector<FlowBox> boxes = flowText(row.text, measure, {row.room, row.speaker, false});
        EXPECT_EQ(linesOf(boxes), row.boxes);
        std::vector<int> overlong;
        for (const FlowBox& box : boxes)
            if (!box.overlong.empty() && overlong.empty())
                overlong = box.overlong;
        EXPECT_EQ(overlong, row.overlong);
        expectWithinRoom(boxes, row.room, settings);
    }
}

TEST(TextFlow, FacesTakeTheRoomOnEitherSide) {
    LineMeasure pixels = LineMeasure::gamePixels({}, {}, CodePage::system());
    EXPECT_EQ(lineRoom(pixels, FaceSide::None, 50), 304);
    EXPECT_EQ(lineRoom(pixels, FaceSide::Left, 50), 232);
    EXPECT_EQ(lineRoom(pixels, FaceSide::Right, 50), 232);
    LineMeasure characters = LineMeasure::characters();
    EXPECT_EQ(lineRoom(characters, FaceSide::Left, 38), 38);
    // Nine words of five: eight to a line without a face, six beside one.
    std::u16string text;
    for (int i = 0; i < 9; ++i)
        text += u"abcde ";
    EXPECT_EQ(flowText(text, pixels, {kTextWidth}).front().lines.size(), 2u);
    EXPECT_EQ(flowText(text, pixels, {kTextWidthFace}).front().lines[1], u"abcde abcde abcde");
}

TEST(TextFlow, WithoutTheGameLookCountsVisibleCharacters) {
    LineMeasure measure = LineMeasure::characters();
    EXPECT_EQ(linesOf(flowText(u"abcde \\c[2]fghij klm", measure, {10})),
              (Boxes{{u"abcde", u"\\c[2]fghij klm"}}));
}

// A conversation of random words, names, codes and speakers, the same on every run.
std::u16string madeUpConversation(int words) {
    std::mt19937 random(35);
    const std::u16string pieces[] = {u"\\n[1]", u"\\v[3]", u"$A", u"\\c[2]", u"\\_", u"ü", u"W"};
    std::u16string text;
    for (int i = 0; i < words; ++i) {
        if (i % 40 == 0)
            text += i ? u"\n\nOrtwin: " : u"Ortwin: ";
        else
            text += u' ';
        const int length = 1 + static_cast<int>(random() % 11);
        for (int c = 0; c < length; ++c)
            text += random() % 9 == 0 ? pieces[random() % 7] : std::u16string(1, static_cast<char16_t>(u'a' + random() % 26));
    }
    return text;
}

TEST(TextFlow, GreedyLinesAreFullAndEvenLinesNeedNoMoreBoxes) {
    const std::u16string text = madeUpConversation(600);
    const CheckSettings settings;
    for (const int room : {kTextWidth, kTextWidthFace, 90})
        for (const bool speaker : {true, false}) {
            SCOPED_TRACE(room);
            LineMeasure measure = LineMeasure::gamePixels(kHeroes, settings, CodePage::system());
            const std::vector<FlowBox> greedy = flowText(text, measure, {room, speaker, false});
            const std::vector<FlowBox> even = flowText(text, measure, {room, speaker, true});
            EXPECT_LE(even.size(), greedy.size());
            expectWithinRoom(greedy, room, settings);
            expectWithinRoom(even, room, settings);
            // No line could have taken the next line's first word.
            for (size_t b = 0; b < greedy.size(); ++b) {
                const FlowBox& box = greedy[b];
                std::vector<std::u16string> text(box.lines.begin() + (box.speaker ? 1 : 0), box.lines.end());
                if (b + 1 < greedy.size() && greedy[b + 1].paragraph == box.paragraph)
                    text.push_back(greedy[b + 1].lines[greedy[b + 1].speaker ? 1 : 0]);
                for (size_t i = 0; i + 1 < text.size(); ++i) {
                    const std::u16string next = text[i + 1].substr(0, text[i + 1].find(u' '));
                    EXPECT_GT(gameLineWidth(text[i] + u' ' + next, kHeroes, CodePage::system(), settings), room)
                        << "line " << i << " of box " << b;
                }
            }
        }
}

TEST(TextFlow, EvenLinesShareTheBoxes) {
    LineMeasure measure = LineMeasure::gamePixels({}, {}, CodePage::system());
    const std::u16string text = u"aaaaa bbbbb ccccc ddddd eeeee";
    EXPECT_EQ(linesOf(flowText(text, measure, {48, true, true})),
              (Boxes{{u"aaaaa", u"bbbbb", u"ccccc"}, {u"ddddd", u"eeeee"}}));
    // Two lines either way: the greedy first one full, the even ones alike.
    EXPECT_EQ(linesOf(flowText(u"aa bb cc dd eee", measure, {66, true, false})), (Boxes{{u"aa bb cc dd", u"eee"}}));
    EXPECT_EQ(linesOf(flowText(u"aa bb cc dd eee", measure, {66, true, true})), (Boxes{{u"aa bb cc", u"dd eee"}}));
}

TEST(TextFlow, BoxesAsTextAndTheBoxOfAPlace) {
    LineMeasure measure = LineMeasure::gamePixels({}, {}, CodePage::system());
    const std::u16string text = u"Ortwin: aaaaa bbbbb ccccc ddddd\n\nbb";
    const std::vector<FlowBox> boxes = flowText(text, measure, {48});
    EXPECT_EQ(boxesAsText(boxes), u"Ortwin:\naaaaa\nbbbbb\nccccc\n\nOrtwin:\nddddd\n\nbb\n");
    EXPECT_EQ(boxAt(boxes, 0), 0u);
    EXPECT_EQ(boxAt(boxes, text.find(u"ddddd") - 1), 0u);
    EXPECT_EQ(boxAt(boxes, text.find(u"ddddd")), 1u);
    EXPECT_EQ(boxAt(boxes, text.size()), 2u);
    EXPECT_EQ(boxLines(boxes[2])[0], u"bb");
    EXPECT_EQ(boxLines(boxes[2])[3], u"");
}

#ifdef ZEILWERK_PROGRAM
TEST(CommandLine, FlowsATextFileIntoBoxes) {
    TempDir dir;
    writeFile(dir / "text.txt", "Ortwin: Wir müssen los, \\c[2]sofort\\c[0].\n\nWendelgard: Ja.\n");
    writeFile(dir / "lang.txt", "Ein " + std::string(60, 'x') + " Wort.\n");
    struct Run {
        std::string arguments;
        int status;
        std::string output;
    };
    const std::string text = "'" + (dir / "text.txt").string() + "'";
    const std::vector<Run> runs = {
        {text, 0, "Ortwin: Wir müssen los, \\c[2]sofort\\c[0].\n\nWendelgard: Ja.\n"},
        {text + " --sprecher", 0, "Ortwin:\nWir müssen los, \\c[2]sofort\\c[0].\n\nWendelgard:\nJa.\n"},
        {text + " --format csv --sprecher", 0,
         "box,zeilen,text\r\n1,2,\"Ortwin:\nWir müssen los, \\c[2]sofort\\c[0].\"\r\n2,2,\"Wendelgard:\nJa.\"\r\n"},
        {text + " --gesicht links --gleichmaessig", 0, "Ortwin: Wir müssen los, \\c[2]sofort\\c[0].\n\nWendelgard: Ja.\n"},
        {"'" + (dir / "lang.txt").string() + "'", 1, "Ein\n" + std::string(60, 'x') + "\nWort.\n"},
        {"'" + (dir / "fehlt.txt").string() + "'", 2, ""},
        {text + " --spiel '" + (dir / "kein Spiel").string() + "'", 2, ""},
        {text + " --gesicht oben", 2, ""},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.arguments);
        const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY '") + ZEILWERK_PROGRAM +
                                    "' --umbrechen " + run.arguments + " >'" + (dir / "out").string() + "' 2>'" +
                                    (dir / "err").string() + "'";
        const int raw = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), run.status) << readFile(dir / "err");
        EXPECT_EQ(readFile(dir / "out"), run.output);
        if (run.status == 2) {
            EXPECT_NE(readFile(dir / "err").find("Zeilwerk: "), std::string::npos);
        }
    }
}
#endif

}  // namespace
}  // namespace zeilwerk::test
