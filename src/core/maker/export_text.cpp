#include "core/maker/export_text.h"

#include "core/platform/number.h"

#include <algorithm>
#include <cstdint>

namespace zeilwerk {

int exportIndent(int n, int alignment, int lineLength) {
    if (n <= 0)
        return 0;
    const std::int64_t length = lineLength;
    std::int64_t indent;
    switch (alignment) {
    case 0: indent = 0; break;
    case 1: indent = (length - n) / 2 - 1; break;
    case 2: indent = length - n - 1; break;
    default: indent = std::int64_t(n) - 2; break;
    }
    return static_cast<int>(std::clamp<std::int64_t>(indent, 0, maxExportIndent));
}

ExportShape exportShape(const std::array<std::u16string, 4>& lines, std::u16string_view alignment,
                        std::u16string_view lineLength) {
    ExportShape shape;
    if (std::any_of(lines.begin(), lines.end(), [](const std::u16string& l) { return !l.empty(); })) {
        shape.alignment = strToInt(alignment);
        if (shape.alignment == 1 || shape.alignment == 2)
            shape.lineLength = strToInt(lineLength);
    }
    return shape;
}

int exportIndent(const std::u16string& line, const ExportShape& shape) {
    const int n = static_cast<int>(std::min<size_t>(line.size(), INT32_MAX));
    return exportIndent(n, shape.alignment, shape.lineLength);
}

std::u16string buildExportText(const std::array<std::u16string, 4>& lines, int alignment, int lineLength) {
    std::u16string text;
    for (const std::u16string& line : lines) {
        text.append(static_cast<size_t>(exportIndent(line, {alignment, lineLength})), u' ');
        text += line;
        text += u'\r';
    }
    return text;
}

}  // namespace zeilwerk
