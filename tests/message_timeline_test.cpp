#include "core/game/message_timeline.h"

#include "core/platform/code_page.h"

#include <gtest/gtest.h>

#include <map>

namespace zeilwerk {
namespace {

using Kind = MessageStep::Kind;

GameMessageText message(std::u16string first, std::u16string second = u"", int indent = 0) {
    static const std::map<int, std::u16string> heroes = {{1, u"Alex"}};
    GameMessageText m;
    m.lines = {std::move(first), std::move(second), u"", u""};
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
        {message(u"Hallo!"), &latin, 5, 1},                 // 2 a frame; the last 2 frames: 2.5 + 2, whole
        {message(u"\\s[2]abc"), &latin, 6, 1},              // 2 a character: 0, 2, 4 and 2
        {message(u"\\S[4]ab"), &latin, 5, 1},               // either case: 3, then 2
        {message(u"\\s[25]ab"), &latin, 13, 1},             // 20 at most: 11
        {message(u"\\s[0]ab"), &latin, 3, 1},               // 1 at least
        {message(u"\\s[3]$Aa"), &latin, 6, 1},              // a symbol is full width: 4
        {message(u"\\s[2]\u3042a"), &japanese, 5, 1},       // full width: 3
        {message(u"a\\.b"), &latin, 19, 1},                 // 0.5 + 16 + 2
        {message(u"a\\|b"), &latin, 64, 1},                 // 0.5 + 61 + 2
        {message(u"a\\!b"), &latin, 3, 2},                  // the key wait starts on frame 1
        {message(u"ab\\^"), &latin, 4, 0},                  // 0.5 + 2, the line end after a code 1
        {message(u"a\\c[2]", u"b"), &latin, 4, 1},          // 0.5 + 1 + 2
        {message(u"\\s[2]\\>abc\\<d"), &latin, 4, 1},       // at once, "\<" 2, d 2
        {message(u"\\s[2]\\>ab", u"cd"), &latin, 4, 1},     // "\>" ends with its line
        {message(u"\\s[2]a\\_\\$b"), &latin, 8, 1},         // "\_" and "\$" 2 each
        {message(u"ab", u"", 2), &latin, 4, 1},             // two spaces of indent first
        {message(u"\\N[1]"), &latin, 4, 1},                 // "Alex"
        {message(u"\\v[7]"), &latin, 3, 1},                 // "42"
        {message(u"\\s[2]a", u"b"), &latin, 4, 1},          // the speed carries to the next line
        {message(u""), &latin, 0, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.text.lines[0].begin(), row.text.lines[0].end()));
        const MessageTimeline t = messageTimeline(row.text, *row.page);
        EXPECT_EQ(t.frames, row.frames);
        EXPECT_EQ(t.keyPresses, row.keys);
        ASSERT_FALSE(t.steps.empty());
        EXPECT_EQ(t.steps.back(), (MessageStep{row.frames, t.pieces, Kind::End}));
    }
}

// The steps count the pieces layOutGameMessage sets, so a frame can draw the first ones.
TEST(MessageTimeline, StepsCountThePiecesInLayoutOrder) {
    const CodePage& page = CodePage::system();
    const struct {
        GameMessageText text;
        std::vector<MessageStep> steps;
    } rows[] = {
        {message(u"Hallo!"), {{0, 2, Kind::Show}, {1, 4, Kind::Show}, {2, 6, Kind::Show}, {5, 6, Kind::End}}},
        {message(u"a\\!b"), {{0, 1, Kind::Show}, {1, 1, Kind::KeyWait}, {1, 2, Kind::Show}, {3, 2, Kind::End}}},
        {message(u"\\s[2]\\>abc\\<d"), {{0, 3, Kind::Show}, {2, 4, Kind::Show}, {4, 4, Kind::End}}},
        {message(u"\\S[5]A\\.", u"\\C[3]b"), {{0, 1, Kind::Show}, {20, 2, Kind::Show}, {22, 2, Kind::End}}},
    };
    for (const auto& row : rows) {
        const MessageTimeline t = messageTimeline(row.text, page);
        EXPECT_EQ(t.steps, row.steps);
        EXPECT_EQ(t.pieces, layOutGameMessage(row.text, page).size());
    }
}

}  // namespace
}  // namespace zeilwerk
