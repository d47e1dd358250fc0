#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zeilwerk::test {

inline void put16(std::string& bytes, std::size_t at, unsigned value) {
    if (bytes.size() < at + 2)
        bytes.resize(at + 2);
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8 & 0xFF);
}

inline void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, value & 0xFFFF);
    put16(bytes, at + 2, value >> 16);
}

// Our own writer of Windows bitmap fonts (FNT 2.0 or 3.0): glyphs first..last, glyph c
// widthOf(c) wide, ink(c, x, y) deciding each pixel; the face name, then the bitmaps in byte
// columns of eight pixels, each column's rows top to bottom, the leftmost pixel highest.
inline std::string fntFile(unsigned version, const std::string& face, int height, int first, int last,
                           const std::function<int(int)>& widthOf, const std::function<bool(int, int, int)>& ink,
                           unsigned defaultChar = 0, unsigned charset = 0) {
    const std::size_t table = version == 0x300 ? 148 : 118, entry = version == 0x300 ? 6 : 4;
    const std::size_t count = std::size_t(last - first + 1);
    std::string bytes(table + entry * (count + 1), '\0');  // one entry past the last, left empty
    int widest = 0;
    bool fixed = true;
    for (int c = first; c <= last; ++c) {
        fixed = fixed && widthOf(c) == widthOf(first);
        widest = std::max(widest, widthOf(c));
    }
    put16(bytes, 0, version);
    put16(bytes, 68, unsigned(height * 3 / 4));
    put16(bytes, 70, 96);
    put16(bytes, 72, 96);
    put16(bytes, 74, unsigned(height - 2));
    put16(bytes, 83, 400);
    bytes[85] = char(charset);
    put16(bytes, 86, fixed ? unsigned(widest) : 0u);
    put16(bytes, 88, unsigned(height));
    put16(bytes, 91, unsigned(widest));
    put16(bytes, 93, unsigned(widest));
    bytes[95] = char(first);
    bytes[96] = char(last);
    bytes[97] = char(defaultChar);
    bytes[98] = char(' ' > first ? ' ' - first : 0);
    put32(bytes, 105, std::uint32_t(bytes.size()));
    bytes += face + '\0';
    for (std::size_t i = 0; i < count; ++i) {
        const int code = first + int(i);
        const int width = widthOf(code);
        put16(bytes, table + entry * i, unsigned(width));
        if (version == 0x300)
            put32(bytes, table + entry * i + 2, std::uint32_t(bytes.size()));
        else
            put16(bytes, table + entry * i + 2, unsigned(bytes.size()));
        for (int column = 0; column < (width + 7) / 8; ++column)
            for (int y = 0; y < height; ++y) {
                unsigned byte = 0;
                for (int bit = 0; bit < 8 && column * 8 + bit < width; ++bit)
                    if (ink(code, column * 8 + bit, y))
                        byte |= 0x80u >> bit;
                bytes += char(byte);
            }
    }
    put32(bytes, 2, std::uint32_t(bytes.size()));
    return bytes;
}

// An FNT 2.0 font of fixed-width glyphs, as the Maker's fonts are.
inline std::string fntFile(const std::string& family, int height, const std::function<bool(int, int, int)>& ink,
                           int width = 6, int first = 0x20, int last = 0xFF, int charset = 0) {
    return fntFile(0x200, family, height, first, last, [width](int) { return width; }, ink, unsigned('?' - first),
                   unsigned(charset));
}

// Our own 16-bit NE executable holding the fonts, as a .fon file does, after a font
// directory that readers pass over.
inline std::string neFile(const std::vector<std::string>& fonts, unsigned shift = 4) {
    std::string bytes(0x80, '\0');
    bytes[0] = 'M', bytes[1] = 'Z';
    put32(bytes, 0x3C, 0x40);
    bytes[0x40] = 'N', bytes[0x41] = 'E';
    put16(bytes, 0x40 + 0x24, 0x40);
    const std::size_t table = 0x80;
    const std::size_t fontEntries = table + 2 + 8 + 12 + 8;
    std::size_t end = fontEntries + 12 * fonts.size() + 2;
    const auto aligned = [&](std::size_t at) { return (at + (1u << shift) - 1) >> shift << shift; };
    put16(bytes, table, shift);
    put16(bytes, table + 2, 0x8007);
    put16(bytes, table + 4, 1);
    put16(bytes, table + 10, unsigned(aligned(end) >> shift));
    put16(bytes, table + 22, 0x8008);
    put16(bytes, table + 24, unsigned(fonts.size()));
    bytes.resize(aligned(end) + (1u << shift), '\0');
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const std::size_t at = bytes.size();
        put16(bytes, fontEntries + 12 * i, unsigned(at >> shift));
        put16(bytes, fontEntries + 12 * i + 2, unsigned(aligned(fonts[i].size()) >> shift));
        bytes += fonts[i];
        bytes.resize(aligned(bytes.size()), '\0');
    }
    return bytes;
}

inline std::string fonFile(const std::string& fnt) {
    return neFile({fnt});
}

// A DIB of 8 bits a pixel, black and white in its palette, ink(x, y) giving index 1; rows
// are stored bottom up (width a multiple of 4, so no row needs padding).
inline std::string dibFile(int width, int height, const std::function<bool(int, int)>& ink) {
    std::string dib(40, '\0');
    put32(dib, 0, 40);
    put32(dib, 4, std::uint32_t(width));
    put32(dib, 8, std::uint32_t(height));
    put16(dib, 12, 1);
    put16(dib, 14, 8);
    put32(dib, 32, 2);
    dib += std::string("\0\0\0\0\xff\xff\xff\0", 8);
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            dib += char(ink(x, y) ? 1 : 0);
    return dib;
}

// Our own PE32 file with one section .rsrc: type → name → language → data, for each bitmap.
inline std::string peFile(const std::vector<std::pair<std::u16string, std::string>>& bitmaps, std::uint32_t type = 2) {
    const std::uint32_t rsrcAt = 0x200, rsrcRva = 0x1000, n = std::uint32_t(bitmaps.size());
    std::string rsrc;
    put16(rsrc, 14, 1);
    put32(rsrc, 16, type);
    put32(rsrc, 20, 0x80000000u | 24);
    put16(rsrc, 24 + 12, n);
    rsrc.resize(40 + 8 * n, '\0');
    // Each bitmap: its language directory, the data entry, the name, the bytes.
    for (std::uint32_t i = 0; i < n; ++i) {
        const auto& [name, dib] = bitmaps[i];
        const std::uint32_t at = std::uint32_t(rsrc.size()), nameAt = at + 40;
        put32(rsrc, 40 + 8 * i, 0x80000000u | nameAt);
        put32(rsrc, 44 + 8 * i, 0x80000000u | at);
        put16(rsrc, at + 14, 1);
        put32(rsrc, at + 16, 1031);
        put32(rsrc, at + 20, at + 24);
        put32(rsrc, at + 24, rsrcRva + nameAt + 2 + 2 * std::uint32_t(name.size()));
        put32(rsrc, at + 28, std::uint32_t(dib.size()));
        put16(rsrc, nameAt, unsigned(name.size()));
        for (std::size_t c = 0; c < name.size(); ++c)
            put16(rsrc, nameAt + 2 + 2 * c, name[c]);
        rsrc += dib;
    }
    std::string exe(rsrcAt, '\0');
    exe[0] = 'M', exe[1] = 'Z';
    put32(exe, 0x3C, 0x40);
    exe.replace(0x40, 4, std::string("PE\0\0", 4));
    put16(exe, 0x44, 0x14C);
    put16(exe, 0x46, 1);
    put16(exe, 0x54, 224);
    put16(exe, 0x58, 0x10B);
    put32(exe, 0x58 + 92, 16);
    put32(exe, 0x58 + 112, rsrcRva);
    put32(exe, 0x58 + 116, std::uint32_t(rsrc.size()));
    exe.replace(0x138, 5, ".rsrc");
    put32(exe, 0x138 + 8, std::uint32_t(rsrc.size()));
    put32(exe, 0x138 + 12, rsrcRva);
    put32(exe, 0x138 + 16, std::uint32_t(rsrc.size()));
    put32(exe, 0x138 + 20, rsrcAt);
    return exe + rsrc;
}

// A version resource's data (VS_VERSIONINFO) with the file version a.b.c.d and no strings.
inline std::string versionInfo(unsigned a, unsigned b, unsigned c, unsigned d) {
    std::string bytes;
    put16(bytes, 0, 92);
    put16(bytes, 2, 52);
    const std::u16string key = u"VS_VERSION_INFO";
    for (std::size_t i = 0; i < key.size(); ++i)
        put16(bytes, 6 + 2 * i, key[i]);
    put32(bytes, 40, 0xFEEF04BDu);
    put32(bytes, 44, 0x10000);
    put32(bytes, 48, a << 16 | b);
    put32(bytes, 52, c << 16 | d);
    put32(bytes, 56, a << 16 | b);
    put32(bytes, 60, c << 16 | d);
    put32(bytes, 76, 4);
    put32(bytes, 80, 1);
    bytes.resize(92, '\0');
    return bytes;
}

// An executable of ours whose only resource is its version, a.b.c.d.
inline std::string peFileOfVersion(unsigned a, unsigned b, unsigned c, unsigned d) {
    return peFile({{u"1", versionInfo(a, b, c, d)}}, 16);
}

}  // namespace zeilwerk::test
