#include "core/message/layout.h"

#include "core/platform/code_page.h"

#include <algorithm>
#include <cstdint>

namespace zeilwerk {

std::u16string cutText(std::u16string_view visible, int length) {
    if (length <= 0)
        return {};
    return std::u16string(visible.substr(0, static_cast<size_t>(length)));
}

int halfWidthCells(std::u16string_view text, const CodePage& page) {
    int cells = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        // A surrogate pair becomes one "?".
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            ++i;
        cells += std::max(1, page.byteLength(unit));
    }
    return cells;
}

int leadingSpaces(int n, int lineLength, int alignment) {
    if (n < 1)
        return 0;
    // 64 bits: a counter from the extreme numbers of a hand-edited setting must not overflow.
    const std::int64_t len = lineLength;
    std::int64_t k;
    switch (alignment) {
    case 0: k = 1; break;
    case 1: k = (len - n + 2) / 2; break;
    case 2: k = len - n + 1; break;
    default: k = n; break;
    }
    return static_cast<int>(std::clamp<std::int64_t>(k - 1, 1, maxLeadingSpaces));
}

std::vector<TilePosition> tilePositions(int w, int h, int right, int bottom) {
    std::vector<TilePosition> positions;
    // A picture without pixels tiles nothing (there is nothing to divide by).
    if (w <= 0 || h <= 0)
        return positions;
    const int columns = right / w;
    const int rows = bottom / h;
    if (columns < 0)
        return positions;
    for (int c = 0; c <= columns; ++c)
        for (int r = 0; r <= rows; ++r)
            positions.push_back({c * w, r * h});
    return positions;
}

}  // namespace zeilwerk
