#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

class CodePage;

// The first `length` UTF-16 units of a visible text, all of it when shorter.
std::u16string cutText(std::u16string_view visible, int length);

// The width of a text in half-width cells, the unit of the line length: one per character
// that has a one-byte form or becomes "?", two per double-byte character.
int halfWidthCells(std::u16string_view text, const CodePage& page);

// How many spaces go in front of a line n cells wide, for the line length and the
// alignment code (0 left, 1 centred, 2 right, else as the counter rule gives): none when
// n < 1, else at least one.
int leadingSpaces(int n, int lineLength, int alignment);
// More spaces than this push any text far beyond the 320-pixel layer; a line length loaded
// from a hand-edited profile must not make the program build a string of millions.
inline constexpr int maxLeadingSpaces = 4096;

// Where TileBmp puts the top-left corners of a picture w × h over an area reaching to
// (right, bottom): one column and one row more than fit, column by column.
struct TilePosition {
    int x;
    int y;
    bool operator==(const TilePosition&) const = default;
};
std::vector<TilePosition> tilePositions(int w, int h, int right, int bottom);

}  // namespace zeilwerk
