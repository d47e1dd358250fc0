#include "core/platform/code_page.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// The fuzzed bytes are a text (UTF-16) and a byte string at once. On the Western and the
// Japanese page, what comes back from the 8-bit form is what survivor() promises, and the
// 8-bit form is as long as byteLength() says; decoding any bytes is safe.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const zeilwerk::CodePage western("WINDOWS-1252");
    static const zeilwerk::CodePage japanese("CP932");
    std::u16string text(size / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    for (const zeilwerk::CodePage* page : {&western, &japanese}) {
        (void)page->decode(bytes);
        std::u16string expected;
        size_t length = 0;
        bool surrogates = false;
        for (const char16_t unit : text) {
            surrogates = surrogates || (unit >= 0xD800 && unit <= 0xDFFF);
            expected += page->survivor(unit);
            length += page->byteLength(unit) ? static_cast<size_t>(page->byteLength(unit)) : 1;
        }
        if (surrogates)
            continue;  // a pair is one "?", checked by the tests
        const std::string encoded = page->encode(text);
        if (encoded.size() != length || page->decode(encoded) != expected)
            std::abort();
    }
    return 0;
}
