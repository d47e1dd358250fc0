#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace zeilwerk {
namespace {

TEST(CodePage, Windows1252Encodes) {
    const CodePage& page = CodePage::system();
    EXPECT_FALSE(page.isDoubleByte());
    EXPECT_EQ(page.encode(u"Grüße €"), "Gr\xFC\xDF" "e \x80");
    // What the page cannot hold is one "?" per character, a surrogate pair included.
    EXPECT_EQ(page.encode(u"日本\U0001F600x"), "???x");
    EXPECT_EQ(page.encode(u"\xD800" "a"), "?a");  // a lone surrogate
    EXPECT_EQ(page.byteLength(u'ä'), 1);
    EXPECT_EQ(page.byteLength(u'日'), 0);
    EXPECT_EQ(page.survivor(u'日'), u'?');
    EXPECT_EQ(page.survivor(u'ß'), u'ß');
}

TEST(CodePage, Windows1252Decodes) {
    const CodePage& page = CodePage::system();
    EXPECT_EQ(page.decode("Gr\xFC\xDF" "e \x80"), u"Grüße €");
    // The five bytes 1252 leaves undefined keep their value, as Windows decodes them.
    EXPECT_EQ(page.decode("\x81\x8D"), u"\u0081\u008D");
    EXPECT_EQ(page.decode(std::string_view("\0", 1)), std::u16string(1, u'\0'));
}

TEST(CodePage, DoubleBytePage) {
    const CodePage page("CP932");
    EXPECT_TRUE(page.isDoubleByte());
    EXPECT_EQ(page.byteLength(u'日'), 2);
    EXPECT_EQ(page.byteLength(u'a'), 1);
    EXPECT_EQ(page.byteLength(u'ｱ'), 1);  // half-width katakana
    EXPECT_EQ(page.encode(u"a日").size(), 3u);
    EXPECT_EQ(page.decode(page.encode(u"a日ｱ本")), u"a日ｱ本");
    // A lead byte with nothing after it.
    EXPECT_EQ(page.decode("a\x93"), u"a?");
}

TEST(CodePage, UnknownPageIsAnError) {
    EXPECT_ANY_THROW(CodePage("NO-SUCH-PAGE-4711"));
}

}  // namespace
}  // namespace zeilwerk
