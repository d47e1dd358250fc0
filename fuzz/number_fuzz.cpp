#include "core/platform/error.h"
#include "core/platform/number.h"
#include "core/platform/text.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// A well-formed UTF-8 text: every sequence complete, shortest, no surrogates.
bool wellFormed(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        char32_t v = n == 1 ? c : c & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            v = v << 6 | (t & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (v < least[n] || v > 0x10FFFF || (v >= 0xD800 && v < 0xE000))
            return false;
        i += n;
    }
    return true;
}

}  // namespace

// The fuzzed bytes are a setting's text. Plain decimal numbers must agree with from_chars;
// anything refused must be refused with the one message that quotes the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::string utf8 = zeilwerk::toUtf8(text);
    if (!wellFormed(utf8))
        std::abort();

    // The same text as ASCII, if it is ASCII: blanks, then what from_chars reads.
    std::string ascii;
    for (const char16_t c : text)
        ascii += c < 0x80 ? static_cast<char>(c) : '\x7F';
    const size_t start = ascii.find_first_not_of(' ');
    std::string digits = start == std::string::npos ? "" : ascii.substr(start);
    bool plus = false;
    if (!digits.empty() && digits[0] == '+') {
        digits.erase(0, 1);
        plus = true;
    }
    std::int32_t expected = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), expected);
    // One sign at most: "+-2" is no number.
    const bool decimal = !digits.empty() && digits[0] != '+' && !(plus && digits[0] == '-') && ec == std::errc() &&
                         end == digits.data() + digits.size() && digits.find_first_of("$xX") == std::string::npos;

    try {
        const std::int32_t value = zeilwerk::strToInt(text);
        if (decimal && value != expected)
            std::abort();
    } catch (const zeilwerk::Error& e) {
        // what() ends at the first NUL of the quoted text.
        const std::string message = "'" + utf8 + "' is not a valid integer value";
        if (decimal || std::string(e.what()) != message.c_str())
            std::abort();
    }
    return 0;
}
