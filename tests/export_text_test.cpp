#include "core/maker/export_text.h"

#include <gtest/gtest.h>

namespace zeilwerk {
namespace {

TEST(ExportIndent, FollowsTheAlignmentTable) {
    struct Row {
        int alignment, length, n, indent;
    };
    const Row rows[] = {
        {1, 50, 1, 23}, {1, 50, 2, 23}, {1, 50, 10, 19}, {1, 50, 11, 18}, {1, 50, 48, 0}, {1, 50, 60, 0},
        {2, 50, 1, 48}, {2, 50, 10, 39}, {2, 50, 48, 1}, {2, 50, 49, 0}, {2, 50, 70, 0},
        {1, 38, 10, 13}, {1, 38, 36, 0}, {2, 38, 10, 27}, {2, 38, 36, 1}, {2, 38, 37, 0},
        {0, 50, 1, 0}, {0, 50, 49, 0}, {7, 50, 5, 3}, {-1, 50, 1, 0}, {2, 50, 0, 0},
        {2, INT32_MAX, 1, maxExportIndent}, {1, INT32_MIN, 5, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(exportIndent(r.n, r.alignment, r.length), r.indent)
            << "alignment " << r.alignment << ", L " << r.length << ", n " << r.n;
}

TEST(ExportText, IndentsEachLineAsTypedAndEndsEveryLineWithACarriageReturn) {
    const std::u16string line1 = u"\\c[2]Welt";
    EXPECT_EQ(buildExportText({u"Hallo", line1, u"", u""}, 1, 50),
              std::u16string(21, u' ') + u"Hallo\r" + std::u16string(19, u' ') + line1 + u"\r\r\r");
    EXPECT_EQ(buildExportText({u"", u"", u"", u""}, 1, 50), u"\r\r\r\r");
    EXPECT_EQ(buildExportText({u"a", u"bb", u"", u"ccc"}, 0, 50), u"a\rbb\r\rccc\r");
    const std::u16string longLine(60, u'x');
    EXPECT_EQ(buildExportText({longLine, u"", u"", u""}, 2, 50), longLine + u"\r\r\r\r");
    EXPECT_EQ(buildExportText({u"Grüße €", u"", u"", u""}, 2, 38), std::u16string(30, u' ') + u"Grüße €\r\r\r\r");
}

}  // namespace
}  // namespace zeilwerk
