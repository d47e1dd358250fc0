#include "core/maker/export_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// The fuzzed bytes are the alignment, the line length and four lines. What is typed into
// the Maker is each line whole, after spaces only, ended by one U+000D.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8)
        return 0;
    const int alignment = static_cast<std::int8_t>(data[0]) % 5;
    std::int32_t lineLength = 0;
    for (int i = 0; i < 4; ++i)
        lineLength = static_cast<std::int32_t>(static_cast<std::uint32_t>(lineLength) << 8 | data[1 + i]);
    std::array<std::u16string, 4> lines;
    size_t line = 0;
    for (size_t i = 5; i + 1 < size; i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (unit == 0xFFFF && line < 3)
            ++line;
        else
            lines[line] += unit;
    }

    const std::u16string text = zeilwerk::buildExportText(lines, alignment, lineLength);
    size_t at = 0;
    for (const std::u16string& l : lines) {
        const size_t indent = static_cast<size_t>(zeilwerk::exportIndent(static_cast<int>(l.size()), alignment, lineLength));
        if (indent > zeilwerk::maxExportIndent || (l.empty() && indent != 0))
            std::abort();
        if (text.compare(at, indent, std::u16string(indent, u' ')) != 0 || text.compare(at + indent, l.size(), l) != 0 ||
            at + indent + l.size() >= text.size() || text[at + indent + l.size()] != u'\r')
            std::abort();
        at += indent + l.size() + 1;
    }
    if (at != text.size())
        std::abort();
    return 0;
}
