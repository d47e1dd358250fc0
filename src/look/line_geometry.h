#pragma once

namespace zeilwerk {

// Where the Maker's preview puts its four lines in the 320 × 80 box: the top of line i's
// glyph band, and the text's left edge, further right beside a face.
constexpr int lineTop(int index) {
    return 16 * index + 8;
}
constexpr int textLeft(bool besideFace) {
    return besideFace ? 70 : 4;
}

// The same as the game's engine draws them: each line's cells from (8, 10 + 16 i), or from
// x = 80 beside a face on the left; text clipped to the 304 × 64 inside the 8-pixel border.
constexpr int gameLineTop(int index) {
    return 10 + 16 * index;
}
constexpr int gameTextLeft(bool besideFace) {
    return besideFace ? 80 : 8;
}
// A cell is drawn only when it ends by the line's right edge: 308, or 240 left of a face
// on the right.
constexpr int gameTextRight(bool faceOnRight) {
    return faceOnRight ? 240 : 308;
}
inline constexpr int kGameBorder = 8;
// Where text colour n's glyph pixels start in the System graphic: its 16 × 16 cell's lower
// twelve rows, from two columns in.
constexpr int gameColourX(int colour) {
    return 16 * (colour % 10) + 2;
}
constexpr int gameColourY(int colour) {
    return 48 + 16 * (colour / 10) + 4;
}
inline constexpr int kGameGlyphRows = 12;  // a glyph's rows below the 12th are not drawn

}  // namespace zeilwerk
