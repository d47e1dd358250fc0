#include "core/platform/number.h"

#include "core/platform/error.h"
#include "core/platform/text.h"

namespace zeilwerk {
namespace {

int digitValue(char16_t c, int base) {
    int v = -1;
    if (c >= u'0' && c <= u'9')
        v = c - u'0';
    else if (c >= u'a' && c <= u'f')
        v = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        v = c - u'A' + 10;
    return v < base ? v : -1;
}

}  // namespace

std::int32_t strToInt(std::u16string_view text) {
    auto fail = [&]() -> std::int32_t { throw Error("'" + toUtf8(text) + "' is not a valid integer value"); };

    size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return fail();

    // Hexadecimal may fill all 32 bits ($FFFFFFFF is -1); decimal must fit the signed range.
    const std::int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            return fail();
        value = value * base + d;
        if (value > limit)
            return fail();
    }
    if (base == 16)
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace zeilwerk
