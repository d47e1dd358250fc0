#include "core/game/message_timeline.h"

#include "core/platform/code_page.h"

#include <gtest/gtest.h>

#include <map>

namespace zeilwerk {
namespace {

using Kind = MessageStep::Kind;

GameMessageText message(std::vector<std::u16string> lines, int indent = 0) {
    static const std::map<int, std::u16string> heroes = {{1, u"Alex"}};
    GameMessageText m;
    for (size_t i = 0; i < lines.size() && i < 4; ++i)
        m.lines[i] = std::move(lines[i]);
    m.lineCount = static_cast<int>(lines.size());
    m.indents[0] = indent;
    m.heroNames = &heroes;
    m.variable = 42;
    return m;
}

// Each row worked out by hand from the engine's timing, in frames.
TEST(MessageTimeline, FramesAndKeyPresses) {
    const CodePage latin("WINDOWS-1252");
    const CodePage japanese("CP932");
    const struct {
        GameMessageText text;
        const CodePage* page;
        int frames, keys;
    } rows[] = {
        {message({u":("}), &latin, 2, 1},                          // the page's last character 2
        {message({u"Ortwin:", u"\\c[4]Ihr\\c[0]?"}), &latin, 8, 1},  // 4; "\c[0]" the 4th place: 1; 1 + 2
        {message({u"Hallo"}), &latin, 4, 1},                       // 0 1 0 1, then 2
        {message({u"", u"", u"Ja."}), &latin, 5, 1},            // empty lines 1 each, 0 1 2
        {message({u"Hallo!"}), &latin, 4, 1},
        {message({u"Ruhe!", u""}), &latin, 5, 1},            // "!" keeps its 1, the empty last line 2
        {message({u"\\.\\^"}), &latin, 19, 0},                     // 16, "\^" 1, the page's end after a code 2
        {message({u"\\s[2]abc"}), &latin, 6, 1},                   // 2 a character, the last 2
        {message({u"\\S[4]ab"}), &latin, 5, 1},                    // either case: 3, then 2
        {message({u"\\s[25]ab"}), &latin, 13, 1},                  // 20 at most: 11
        {message({u"\\s[0]ab"}), &latin, 2, 1},                    // 1 at least
        {message({u"\\s[3]$Aa"}), &latin, 6, 1},                   // a symbol is full width: 4
        {message({u"\\s[2]\u3042a"}), &japanese, 5, 1},            // full width: 3
        {message({u"a$Ab$A"}), &latin, 4, 1},                      // 0; 1 and 1 more after "a"; 0; 2
        {message({u"\u3042\u3042a"}), &japanese, 4, 1},            // 1, 1, 2
        {message({u"abc", u"de"}), &latin, 4, 1},                  // 0 1 1 (the line's last), 0 2
        {message({u"a\\.b"}), &latin, 18, 1},                      // 0, 16, 2
        {message({u"a\\|b"}), &latin, 63, 1},                      // 0, 61, 2
        {message({u"a\\!b"}), &latin, 2, 2},
        {message({u"ab\\^"}), &latin, 4, 0},                       // b the line's last 1, "\^" 1, the end 2
        {message({u"a\\c[2]", u"b"}), &latin, 5, 1},               // 1, the code 1, the line end after it 1, 2
        {message({u"\\c[2]ab"}), &latin, 2, 1},                    // a code before any character takes no place
        {message({u"ab\\q"}), &latin, 4, 1},                       // an unknown code: the speed's time
        {message({u"\\s[3]a\\$b"}), &latin, 7, 1},                 // 2, "\$" 3, 2
        {message({u"\\s[2]\\>abc\\<d"}), &latin, 4, 1},            // at once, "\<" 2, d 2
        {message({u"\\s[2]\\>a\\.b\\|", u"cd"}), &latin, 2, 1},    // "\>" lasts to the page's end, 2 there
        {message({u"\\s[2]a\\_b"}), &latin, 6, 1},               // "\_" a half-width character's time
        {message({u"ab"}, 2), &latin, 3, 1},                  // two spaces of indent first
        {message({u"\\N[1]"}), &latin, 3, 1},                      // "Alex"
        {message({u"\\n[9]"}), &latin, 2, 1},                      // no hero: a code
        {message({u"\\v[7]"}), &latin, 2, 1},                      // "42"
        {message({u"\\s[2]a", u"b"}), &latin, 4, 1},               // the speed carries to the next line
        {message({u""}), &latin, 2, 1},                            // one empty line
        {message({}), &latin, 0, 1},                             // no line at all
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.text.lines[0].begin(), row.text.lines[0].end()) + " / " +
                     std::string(row.text.lines[1].begin(), row.text.lines[1].end()));
        const MessageTimeline t = messageTimeline(row.text, *row.page);
        EXPECT_EQ(t.frames, row.frames);
        EXPECT_EQ(t.keyPresses, row.keys);
        ASSERT_FALSE(t.steps.empty());
        EXPECT_EQ(t.steps.back(), (MessageStep{row.frames, t.pieces, Kind::End}));
    }
}

// Pages of four: each waits for its key, the next a frame later with speed 1 and "\>" off.
TEST(MessageTimeline, PagesOfFourLines) {
    const CodePage latin("WINDOWS-1252");
    const struct {
        std::vector<std::u16string> lines;
        int frames, keys;
    } rows[] = {
        {{u"ab", u"ab", u"ab", u"ab", u"ab"}, 1 + 1 + 1 + 2 + 1 + 2, 2},
        {{u"\\s[4]a", u"", u"", u"", u"a"}, 3 + 1 + 1 + 2 + 1 + 2, 2},
        {{u"\\>a", u"", u"", u"b\\^", u"c"}, 2 + 1 + 2, 1},     // "\^" spares the first page's key
        {{u"a"}, 2, 1},
    };
    for (const auto& row : rows) {
        const MessageTimeline t = pagedMessageTimeline(row.lines, message({}), latin);
        EXPECT_EQ(t.frames, row.frames) << std::string(row.lines[0].begin(), row.lines[0].end());
        EXPECT_EQ(t.keyPresses, row.keys);
    }
}

// The steps count the pieces layOutGameMessage sets, so a frame can draw the first ones.
TEST(MessageTimeline, StepsCountThePiecesInLayoutOrder) {
    const CodePage& page = CodePage::system();
    const struct {
        GameMessageText text;
        std::vector<MessageStep> steps;
    } rows[] = {
        {message({u"Hallo!"}), {{0, 2, Kind::Show}, {1, 4, Kind::Show}, {2, 6, Kind::Show}, {4, 6, Kind::End}}},
        {message({u"a\\!b"}), {{0, 1, Kind::Show}, {0, 1, Kind::KeyWait}, {0, 2, Kind::Show}, {2, 2, Kind::End}}},
        {message({u"\\s[2]\\>abc\\<d"}), {{0, 3, Kind::Show}, {2, 4, Kind::Show}, {4, 4, Kind::End}}},
        {message({u"\\S[5]A\\.", u"\\C[3]b"}), {{0, 1, Kind::Show}, {20, 2, Kind::Show}, {22, 2, Kind::End}}},
    };
    for (const auto& row : rows) {
        const MessageTimeline t = messageTimeline(row.text, page);
        EXPECT_EQ(t.steps, row.steps);
        EXPECT_EQ(t.pieces, layOutGameMessage(row.text, page).size());
    }
}

}  // namespace
}  // namespace zeilwerk
