#include "core/message/layout.h"
#include "core/platform/code_page.h"

#include <gtest/gtest.h>

namespace zeilwerk {
namespace {

TEST(CutText, KeepsTheFirstUnits) {
    EXPECT_EQ(cutText(u"Hallo", 50), u"Hallo");
    EXPECT_EQ(cutText(std::u16string(60, u'W'), 50), std::u16string(50, u'W'));
    EXPECT_EQ(cutText(std::u16string(60, u'W'), 38), std::u16string(38, u'W'));
    EXPECT_EQ(cutText(u"abc", 0), u"");
    EXPECT_EQ(cutText(u"abc", -4), u"");
}

TEST(HalfWidthCells, CountsCellsOfTheEightBitForm) {
    const CodePage& western = CodePage::system();
    const CodePage japanese("CP932");
    const std::tuple<std::u16string, int, int> cases[] = {
        // text, cells in Windows-1252, cells in CP932
        {u"Hallo", 5, 5},
        {u"Grüße €", 7, 7},          // ü ß € all have one byte in 1252; CP932 makes them "?"
        {u"?", 1, 1},
        {u"日本", 2, 4},             // "?" each in 1252, two bytes each in CP932
        {u"ｱ", 1, 1},                // half-width katakana: one byte in CP932
        {u"\U0001F600x", 2, 2},      // a surrogate pair becomes one "?"
        {u"", 0, 0},
    };
    for (const auto& [text, cells1252, cells932] : cases) {
        EXPECT_EQ(halfWidthCells(text, western), cells1252);
        EXPECT_EQ(halfWidthCells(text, japanese), cells932);
    }
}

TEST(LeadingSpaces, FollowTheAlignmentTable) {
    struct Row {
        int n, length, left, centred, right;
    };
    const Row rows[] = {
        {5, 50, 1, 22, 45}, {10, 50, 1, 20, 40}, {49, 50, 1, 1, 1}, {50, 50, 1, 1, 1},
        {10, 38, 1, 14, 28}, {12, 50, 1, 19, 38}, {0, 50, 0, 0, 0}, {60, 50, 1, 1, 1},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(leadingSpaces(r.n, r.length, 0), r.left) << r.n;
        EXPECT_EQ(leadingSpaces(r.n, r.length, 1), r.centred) << r.n;
        EXPECT_EQ(leadingSpaces(r.n, r.length, 2), r.right) << r.n;
    }
    EXPECT_EQ(leadingSpaces(7, 50, 5), 6);     // other codes count from n
    EXPECT_EQ(leadingSpaces(7, 50, -1), 6);
    EXPECT_EQ(leadingSpaces(1, INT32_MAX, 2), maxLeadingSpaces);
    EXPECT_EQ(leadingSpaces(INT32_MAX, INT32_MIN, 1), 1);
}

TEST(TilePositions, DrawOneColumnAndRowMoreThanFit) {
    const auto small = tilePositions(16, 16, 320, 80);
    ASSERT_EQ(small.size(), 21u * 6u);
    EXPECT_EQ(small.front(), (TilePosition{0, 0}));
    EXPECT_EQ(small[1], (TilePosition{0, 16}));       // down the column first
    EXPECT_EQ(small.back(), (TilePosition{320, 80}));

    EXPECT_EQ(tilePositions(320, 80, 320, 80),
              (std::vector<TilePosition>{{0, 0}, {0, 80}, {320, 0}, {320, 80}}));
    const auto odd = tilePositions(7, 9, 320, 80);
    ASSERT_EQ(odd.size(), 46u * 9u);
    EXPECT_EQ(odd.back(), (TilePosition{315, 72}));
    EXPECT_EQ(tilePositions(400, 100, 320, 80), (std::vector<TilePosition>{{0, 0}}));
    EXPECT_TRUE(tilePositions(0, 16, 320, 80).empty());
    EXPECT_TRUE(tilePositions(16, 0, 320, 80).empty());
}

}  // namespace
}  // namespace zeilwerk
