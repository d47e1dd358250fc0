#include "core/platform/code_page.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <iconv.h>
#endif

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

#ifndef _WIN32
// Every unit, asked of iconv one by one: a unit the page holds has bytes that decode to it
// again; any other unit is "?". On the Western page that is every unit iconv can encode.
TEST(CodePage, TablesAgreeWithEncodeThenDecodeForEveryUnit) {
    for (const char* name : {"WINDOWS-1252", "CP932"}) {
        const CodePage page(name);
        iconv_t to = iconv_open(name, "UTF-16LE");
        iconv_t from = iconv_open("UTF-16LE", name);
        const auto run = [](iconv_t cd, const char* in, size_t length, char* out) -> int {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            char* src = const_cast<char*>(in);
            char* dst = out;
            size_t room = 8;
            if (iconv(cd, &src, &length, &dst, &room) == static_cast<size_t>(-1) || length != 0)
                return -1;
            return static_cast<int>(dst - out);
        };
        int held = 0;
        for (std::uint32_t u = 0; u < 0x10000; ++u) {
            if (u >= 0xD800 && u <= 0xDFFF)
                continue;
            const char in[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
            char bytes[8], back[8];
            const int n = run(to, in, 2, bytes);
            const bool encodes = n == 1 || n == 2;
            const bool roundTrips = encodes && run(from, bytes, static_cast<size_t>(n), back) == 2 &&
                                    back[0] == in[0] && back[1] == in[1];
            const auto unit = static_cast<char16_t>(u);
            ASSERT_EQ(page.byteLength(unit), roundTrips ? n : 0) << name << " U+" << std::hex << u;
            ASSERT_EQ(page.survivor(unit), roundTrips ? unit : u'?') << name << " U+" << std::hex << u;
            ASSERT_EQ(page.decode(page.encode(std::u16string(1, unit))), std::u16string(1, page.survivor(unit)))
                << name << " U+" << std::hex << u;
            if (!page.isDoubleByte()) {
                ASSERT_EQ(roundTrips, encodes) << name << " U+" << std::hex << u;
            }
            held += roundTrips;
        }
        EXPECT_GT(held, page.isDoubleByte() ? 7000 : 250) << name;
        iconv_close(to);
        iconv_close(from);
    }
    // The yen sign is no message code escape on a Japanese page.
    const CodePage japanese("CP932");
    EXPECT_EQ(japanese.survivor(u'¥'), u'?');
    EXPECT_EQ(japanese.encode(u"¥"), "?");
}

#endif

TEST(CodePage, UnknownPageIsAnError) {
    EXPECT_ANY_THROW(CodePage("NO-SUCH-PAGE-4711"));
}

}  // namespace
}  // namespace zeilwerk
