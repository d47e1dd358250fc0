#include "core/platform/error.h"
#include "core/platform/number.h"
#include "core/platform/text.h"

#include <gtest/gtest.h>

namespace zeilwerk {
namespace {

TEST(StrToInt, AcceptsWholeNumbers) {
    const std::pair<std::u16string, std::int32_t> cases[] = {
        {u"0", 0},           {u"320", 320},         {u"-5", -5},
        {u"+7", 7},          {u"  12", 12},         {u"007", 7},
        {u"2147483647", 2147483647}, {u"-2147483648", INT32_MIN},
        {u"$1F", 31},        {u"0x10", 16},         {u"$FFFFFFFF", -1},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(strToInt(text), value);
}

TEST(StrToInt, RejectsEverythingElseWithTheSystemText) {
    const std::u16string cases[] = {
        u"", u" ", u",", u"1,5", u"1.5", u"abc", u"12 ", u"-", u"+", u"$", u"0x",
        u"2147483648", u"-2147483649", u"99999999999999999999", u"$100000000", u"1e3", u"١",
    };
    for (const std::u16string& text : cases)
        EXPECT_THROW(strToInt(text), Error) << toUtf8(text);
    try {
        strToInt(u"zwölf");
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'zwölf' is not a valid integer value");
    }
}

}  // namespace
}  // namespace zeilwerk
