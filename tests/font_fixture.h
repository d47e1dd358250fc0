#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zeilwerk::test {

// Our own writer of Windows bitmap fonts: an FNT 2.0 raster font, one glyph per byte from
// first to last, each `width` wide and `height` high, ink(code, x, y) deciding each pixel.
inline std::string fntFile(const std::string& family, int height, const std::function<bool(int, int, int)>& ink,
                           int width = 6, int first = 0x20, int last = 0xFF, int charset = 0) {
    std::string out(118, '\0');
    const auto put16 = [&](size_t at, int v) {
        out[at] = static_cast<char>(v & 0xFF);
        out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    };
    const auto put32 = [&](size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const int count = last - first + 1;
    const size_t table = 118;
    const size_t tableSize = 4u * static_cast<size_t>(count + 1);  // one entry past the last: the space glyph
    const int columns = (width + 7) / 8;
    const size_t glyphBytes = static_cast<size_t>(columns * height);
    const size_t bits = table + tableSize;
    const size_t face = bits + glyphBytes * static_cast<size_t>(count + 1);
    out.resize(face);
    put16(0, 0x200);
    put16(68, height * 3 / 4);
    put16(70, 96);
    put16(72, 96);
    put16(74, height - 2);
    put16(83, 400);
    out[85] = static_cast<char>(charset);
    put16(86, width);
    put16(88, height);
    put16(91, width);
    put16(93, width);
    out[95] = static_cast<char>(first);
    out[96] = static_cast<char>(last);
    out[97] = static_cast<char>('?' - first);
    out[98] = static_cast<char>(' ' - first);
    put16(99, columns);
    put32(105, static_cast<std::uint32_t>(face));
    put32(113, static_cast<std::uint32_t>(bits));
    for (int i = 0; i <= count; ++i) {
        const size_t glyph = bits + glyphBytes * static_cast<size_t>(i);
        put16(table + 4u * static_cast<size_t>(i), width);
        put16(table + 4u * static_cast<size_t>(i) + 2, static_cast<int>(glyph));
        if (i == count)
            continue;
        // Byte columns of eight pixels, each column's rows top to bottom, the leftmost pixel highest.
        for (int c = 0; c < columns; ++c)
            for (int y = 0; y < height; ++y) {
                unsigned byte = 0;
                for (int b = 0; b < 8; ++b)
                    if (8 * c + b < width && ink(first + i, 8 * c + b, y))
                        byte |= 0x80u >> b;
                out[glyph + static_cast<size_t>(c * height + y)] = static_cast<char>(byte);
            }
    }
    out += family;
    out += '\0';
    put32(2, static_cast<std::uint32_t>(out.size()));
    return out;
}

// The same font inside a 16-bit NE executable, as a .fon file holds it.
inline std::string fonFile(const std::string& fnt) {
    constexpr size_t ne = 0x40;
    constexpr size_t resources = ne + 0x40;
    constexpr int shift = 4;
    std::string out(resources, '\0');
    const auto put16 = [&](size_t at, int v) {
        if (out.size() < at + 2)
            out.resize(at + 2, '\0');
        out[at] = static_cast<char>(v & 0xFF);
        out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    };
    out[0] = 'M';
    out[1] = 'Z';
    out[0x3C] = static_cast<char>(ne);
    out[ne] = 'N';
    out[ne + 1] = 'E';
    // The resource table: the shift, one type block of one font, the end mark.
    const size_t table = resources;
    const size_t tableEnd = table + 2 + 8 + 12 + 2 + 1;
    put16(ne + 0x24, static_cast<int>(table - ne));
    put16(ne + 0x26, static_cast<int>(tableEnd - ne));  // resident names follow
    put16(ne + 0x28, static_cast<int>(tableEnd - ne));
    put16(table, shift);
    put16(table + 2, 0x8008);  // RT_FONT as an integer type
    put16(table + 4, 1);
    const size_t data = (tableEnd + 15) / 16 * 16 + 16;
    put16(table + 10, static_cast<int>(data >> shift));
    put16(table + 12, static_cast<int>((fnt.size() + 15) >> shift));
    put16(table + 14, 0x1C30);
    put16(table + 16, 0x8001);
    put16(table + 22, 0);  // end of types
    out.resize(data, '\0');
    out += fnt;
    out.resize((out.size() + 15) / 16 * 16, '\0');
    return out;
}

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
inline std::string peFile(const std::vector<std::pair<std::u16string, std::string>>& bitmaps) {
    const std::uint32_t rsrcAt = 0x200, rsrcRva = 0x1000, n = std::uint32_t(bitmaps.size());
    std::string rsrc;
    put16(rsrc, 14, 1);
    put32(rsrc, 16, 2);
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

}  // namespace zeilwerk::test
