#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

// The largest glyph and font a reader accepts; larger sizes are no message font.
inline constexpr int kMaxGlyphSide = 64;

struct BitmapGlyph {
    int width = 0, height = 0;      // FNT: the glyph's width and the font's height; PCF: advance × (ascent + descent)
    std::vector<std::uint8_t> ink;  // width * height, row-major, 1 = ink
    bool at(int x, int y) const;    // false outside the glyph
};

struct BitmapFont {
    std::string family;  // the face name inside the file (FNT dfFace, PCF FAMILY_NAME)
    int pixelHeight = 0;
    int ascent = 0;      // rows above the baseline, the baseline row excluded
    int charset = 0;     // FNT dfCharSet (0 ANSI, 128 Shift-JIS, ...)
    bool unicode = false;  // codes are Unicode code points; else bytes of the font's code page
    std::optional<std::uint32_t> defaultCode;  // drawn for a code the font lacks
    std::map<std::uint32_t, BitmapGlyph> glyphs;

    // The glyph of a code, else the default glyph, else nullptr.
    const BitmapGlyph* glyph(std::uint32_t code) const;
};

// One FNT resource, versions 2.0 and 3.0, raster only. Throws Error on anything else.
BitmapFont readFnt(std::string_view bytes);
// Every font resource of a 16-bit NE executable (.fon), in the file's order; a bare FNT file
// gives one font. Sizes above kMaxGlyphSide are left out; throws Error when none is left.
std::vector<BitmapFont> readFon(std::string_view bytes);
// A PCF font, plain or gzip-compressed. Glyphs are full cells: the ink placed by its bearings.
BitmapFont readPcf(std::string_view bytes);

}  // namespace zeilwerk
