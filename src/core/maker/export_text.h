#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zeilwerk {

// The text typed into the Maker: each of the four lines with its indent, each ended by U+000D.
std::u16string buildExportText(const std::array<std::u16string, 4>& lines, int alignment, int lineLength);

// What the export reads of the alignment and line length settings: nothing for a message
// without text, the line length only for centred or right-aligned text. Throws for a
// setting it reads that is no number.
struct ExportShape {
    int alignment = 0;
    int lineLength = 0;
};
ExportShape exportShape(const std::array<std::u16string, 4>& lines, std::u16string_view alignment,
                        std::u16string_view lineLength);

// The spaces put in front of one line as typed.
int exportIndent(const std::u16string& line, const ExportShape& shape);

// The spaces put in front of a line of n code units, as typed, codes included.
int exportIndent(int n, int alignment, int lineLength);

// No indent is longer: a line length from a hand-edited profile must not make the program
// type millions of spaces into the Maker.
inline constexpr int maxExportIndent = 4096;

}  // namespace zeilwerk
