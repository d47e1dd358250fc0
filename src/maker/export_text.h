#pragma once

#include <array>
#include <string>

namespace zeilwerk {

// The text typed into the Maker: each of the four lines with its indent, each ended by U+000D.
std::u16string buildExportText(const std::array<std::u16string, 4>& lines, int alignment, int lineLength);

// The spaces put in front of a line of n code units, as typed, codes included.
int exportIndent(int n, int alignment, int lineLength);

// No indent is longer: a line length from a hand-edited profile must not make the program
// type millions of spaces into the Maker.
inline constexpr int maxExportIndent = 4096;

}  // namespace zeilwerk
