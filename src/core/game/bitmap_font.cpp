#include "core/game/bitmap_font.h"

#include "core/game/byte_reader.h"
#include "core/platform/error.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <limits>

namespace zeilwerk {
namespace {

constexpr const char* kTooLarge = "Zeichen größer als 64 Pixel";
constexpr const char* kUnknown = "unbekanntes Schriftformat";
constexpr std::uint64_t kMaxUnpacked = 8 << 20;
constexpr std::uint64_t kMaxInk = 16 << 20;  // all glyphs of one font together
constexpr std::size_t kMaxFontsPerFile = 64;

bool isFntVersion(std::string_view bytes) {
    return bytes.size() >= 2 && bytes[0] == 0 && (bytes[1] == 2 || bytes[1] == 3);
}

// A NUL-terminated name at an offset; a name running to the end is taken as it is.
std::string nameAt(const ByteReader& in, std::uint64_t at) {
    in.require(at <= in.size());
    const std::string_view rest = in.bytes().substr(at, 256);
    return std::string(rest.substr(0, rest.find('\0')));
}

bool fntTooLarge(std::string_view resource) {
    const ByteReader in(resource, "");
    return in.has(88, 2) && in.u16(88) > kMaxGlyphSide;
}

std::string gunzip(std::string_view bytes) {
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK)
        throw Error("gzip-Daten beschädigt");
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(std::min<std::size_t>(bytes.size(), std::numeric_limits<uInt>::max()));
    std::string out;
    int status = Z_OK;
    while (status == Z_OK && out.size() < kMaxUnpacked) {
        const std::size_t used = out.size();
        out.resize(used + 64 * 1024);
        z.next_out = reinterpret_cast<Bytef*>(out.data() + used);
        z.avail_out = 64 * 1024;
        status = inflate(&z, Z_NO_FLUSH);
        out.resize(out.size() - z.avail_out);
    }
    inflateEnd(&z);
    if (status != Z_STREAM_END)
        throw Error(out.size() >= kMaxUnpacked ? "Schriftdatei entpackt zu groß" : "gzip-Daten beschädigt");
    return out;
}

// One table of a PCF file: its own format word decides the byte order of what follows.
struct PcfTable {
    ByteReader in;
    std::uint32_t format = 0;
    bool msb = false;

    explicit PcfTable(std::string_view bytes) : in(bytes, "PCF-Schrift beschädigt") {
        format = in.u32(0);
        msb = (format & 4) != 0;
    }
    std::uint32_t u32(std::uint64_t at) const { return in.u32(at, msb); }
    std::int32_t i32(std::uint64_t at) const { return static_cast<std::int32_t>(in.u32(at, msb)); }
    std::uint16_t u16(std::uint64_t at) const { return in.u16(at, msb); }
    std::int16_t i16(std::uint64_t at) const { return static_cast<std::int16_t>(in.u16(at, msb)); }
};

struct PcfMetric {
    int left = 0, right = 0, width = 0, ascent = 0, descent = 0;
};

std::map<std::string, std::string> pcfStringProperties(const PcfTable& t, std::map<std::string, std::int32_t>& numbers) {
    const std::uint32_t count = t.u32(4);
    t.in.require(count <= 1024);
    const std::uint64_t strings = 8 + 9ull * count + ((count & 3) ? 4 - (count & 3) : 0);
    const ByteReader text(t.in.slice(strings + 4, t.u32(strings)), "PCF-Schrift beschädigt");
    std::map<std::string, std::string> result;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = 8 + 9 * i;
        const std::string name = nameAt(text, t.u32(at));
        if (t.in.u8(at + 4))
            result[name] = nameAt(text, t.u32(at + 5));
        else
            numbers[name] = t.i32(at + 5);
    }
    return result;
}

std::vector<PcfMetric> pcfMetrics(const PcfTable& t) {
    std::vector<PcfMetric> metrics;
    if (t.format & 0x100) {
        // Compressed: five bytes, each offset by 0x80.
        const std::uint32_t count = t.u16(4);
        t.in.require(t.in.has(6, 5ull * count));
        for (std::uint64_t i = 0, at = 6; i < count; ++i, at += 5)
            metrics.push_back({t.in.u8(at) - 0x80, t.in.u8(at + 1) - 0x80, t.in.u8(at + 2) - 0x80,
                               t.in.u8(at + 3) - 0x80, t.in.u8(at + 4) - 0x80});
    } else {
        const std::uint32_t count = t.u32(4);
        t.in.require(t.in.has(8, 12ull * count));
        for (std::uint64_t i = 0, at = 8; i < count; ++i, at += 12)
            metrics.push_back({t.i16(at), t.i16(at + 2), t.i16(at + 4), t.i16(at + 6), t.i16(at + 8)});
    }
    return metrics;
}

// The glyph's stored bitmap placed into its cell, left bearing and baseline applied.
BitmapGlyph pcfGlyph(const PcfTable& bitmaps, std::string_view data, std::uint64_t offset, const PcfMetric& m,
                     int fontAscent, int cellHeight) {
    const int w = m.right - m.left, h = m.ascent + m.descent;
    if (w < 0 || h < 0 || m.width < 0)
        bitmaps.in.fail();
    if (w > kMaxGlyphSide || h > kMaxGlyphSide || m.width > kMaxGlyphSide)
        throw Error(kTooLarge);
    const std::uint32_t format = bitmaps.format;
    const std::uint64_t pad = 1u << (format & 3), unit = 1u << ((format >> 4) & 3);
    const std::uint64_t rowBytes = ((w + 7) / 8 + pad - 1) / pad * pad;
    const bool bitMsb = (format & 8) != 0;
    // Bytes of a scan unit are stored in the byte order; read MSB first they need swapping
    // when that order differs from the bit order.
    const bool swap = bitMsb != bitmaps.msb && unit > 1 && rowBytes % unit == 0;
    const ByteReader in(data, "PCF-Schrift beschädigt");
    in.require(in.has(offset, rowBytes * h));

    BitmapGlyph glyph;
    glyph.width = m.width;
    glyph.height = cellHeight;
    glyph.ink.assign(std::size_t(glyph.width) * glyph.height, 0);
    // Only the part inside the cell is read, so a damaged file costs no more than its cells.
    const int top = fontAscent - m.ascent;
    for (int y = std::max(0, -top); y < std::min(h, glyph.height - top); ++y) {
        const int cy = top + y;
        for (int x = std::max(0, -m.left); x < std::min(w, glyph.width - m.left); ++x) {
            const int cx = m.left + x;
            std::uint64_t index = x / 8;
            if (swap)
                index = index / unit * unit + (unit - 1 - index % unit);
            const unsigned byte = in.u8(offset + y * rowBytes + index);
            const unsigned bit = bitMsb ? 7 - x % 8 : x % 8;
            glyph.ink[std::size_t(cy) * glyph.width + cx] = (byte >> bit) & 1;
        }
    }
    return glyph;
}

}  // namespace

bool BitmapGlyph::at(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && ink[std::size_t(y) * width + x] != 0;
}

const BitmapGlyph* BitmapFont::glyph(std::uint32_t code) const {
    auto it = glyphs.find(code);
    if (it == glyphs.end() && defaultCode)
        it = glyphs.find(*defaultCode);
    return it == glyphs.end() ? nullptr : &it->second;
}

BitmapFont readFnt(std::string_view bytes) {
    const ByteReader in(bytes, "FNT-Schrift beschädigt");
    if (!isFntVersion(bytes))
        throw Error(kUnknown);
    const bool v3 = in.u16(0) == 0x300;
    if (in.u16(66) & 1)
        throw Error("Vektorschrift, keine Rasterschrift");
    // 3.0 also knows glyph tables with ABC spacing and colour glyphs, which no font we need uses.
    if (v3 && (in.u32(118) & 0xEC))
        throw Error("FNT-Variante nicht unterstützt");
    BitmapFont font;
    font.ascent = in.u16(74);
    font.charset = in.u8(85);
    font.pixelHeight = in.u16(88);
    if (font.pixelHeight > kMaxGlyphSide)
        throw Error(kTooLarge);
    const unsigned first = in.u8(95), last = in.u8(96), defaultChar = in.u8(97);
    in.require(first <= last);
    font.family = nameAt(in, in.u32(105));

    // Glyph entries: width and offset (16 bits in 2.0, 32 in 3.0), after the header.
    const std::uint64_t table = v3 ? 148 : 118, entry = v3 ? 6 : 4;
    const int height = font.pixelHeight;
    for (unsigned code = first; code <= last; ++code) {
        const std::uint64_t at = table + (code - first) * entry;
        const int width = in.u16(at);
        const std::uint64_t bits = v3 ? in.u32(at + 2) : in.u16(at + 2);
        if (width > kMaxGlyphSide)
            throw Error(kTooLarge);
        // Column-major: each 8 pixels wide column holds one byte per row, top to bottom.
        in.require(in.has(bits, std::uint64_t((width + 7) / 8) * height));
        BitmapGlyph& glyph = font.glyphs[code];
        glyph.width = width;
        glyph.height = height;
        glyph.ink.assign(std::size_t(width) * height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                glyph.ink[std::size_t(y) * width + x] = (in.u8(bits + (x / 8) * height + y) >> (7 - x % 8)) & 1;
    }
    if (first + defaultChar <= last)
        font.defaultCode = first + defaultChar;  // counted from the first character
    return font;
}

std::vector<BitmapFont> readFon(std::string_view bytes) {
    if (isFntVersion(bytes))
        return {readFnt(bytes)};
    if (bytes.substr(0, 2) != "MZ")
        throw Error(kUnknown);
    const ByteReader in(bytes, "NE-Datei beschädigt");
    const std::uint64_t ne = in.u32(0x3C);
    if (in.slice(ne, 2) != "NE")
        throw Error(kUnknown);
    const std::uint64_t table = ne + in.u16(ne + 0x24);
    const unsigned shift = in.u16(table);
    in.require(shift < 16);

    std::vector<BitmapFont> fonts;
    // Type blocks until a zero type: type, count, four reserved bytes, then 12-byte entries.
    for (std::uint64_t at = table + 2;;) {
        const unsigned type = in.u16(at);
        if (type == 0)
            break;
        const unsigned count = in.u16(at + 2);
        at += 8;
        for (unsigned i = 0; i < count; ++i, at += 12) {
            const std::uint64_t offset = std::uint64_t(in.u16(at)) << shift;
            const std::uint64_t length = std::uint64_t(in.u16(at + 2)) << shift;
            if (type != 0x8008)
                continue;
            in.require(offset < in.size() && fonts.size() < kMaxFontsPerFile);
            // The length is rounded up to the alignment and may run past the file's end.
            const std::string_view resource = bytes.substr(offset, length);
            if (!fntTooLarge(resource))
                fonts.push_back(readFnt(resource));
        }
    }
    if (fonts.empty())
        throw Error("keine Rasterschrift in der Datei");
    return fonts;
}

BitmapFont readPcf(std::string_view bytes) {
    std::string unpacked;
    if (bytes.size() >= 2 && bytes[0] == '\x1f' && bytes[1] == '\x8b') {
        unpacked = gunzip(bytes);
        bytes = unpacked;
    }
    const ByteReader in(bytes, "PCF-Schrift beschädigt");
    if (bytes.substr(0, 4) != std::string_view("\1fcp", 4))
        throw Error(kUnknown);
    const std::uint32_t count = in.u32(4);
    in.require(count <= 64);
    std::map<std::uint32_t, std::string_view> tables;  // by type; the first of each wins
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = 8 + 16 * i;
        // Writers round the last table's size up past the file's end; what is there is read.
        const std::uint64_t offset = in.u32(at + 12);
        in.require(offset <= in.size());
        tables.emplace(in.u32(at), bytes.substr(offset, in.u32(at + 8)));
    }
    const auto table = [&](std::uint32_t type) {
        const auto it = tables.find(type);
        if (it == tables.end())
            in.fail();
        return PcfTable(it->second);
    };

    BitmapFont font;
    std::map<std::string, std::int32_t> numbers;
    const auto strings = pcfStringProperties(table(1), numbers);
    const auto text = [&](const char* name) {
        const auto it = strings.find(name);
        return it == strings.end() ? std::string() : it->second;
    };
    font.family = text("FAMILY_NAME");
    std::string registry = text("CHARSET_REGISTRY");
    std::transform(registry.begin(), registry.end(), registry.begin(), [](unsigned char c) { return std::toupper(c); });
    font.unicode = registry == "ISO10646" || (registry == "ISO8859" && text("CHARSET_ENCODING") == "1");

    const std::vector<PcfMetric> metrics = pcfMetrics(table(4));
    int ascent = 0, descent = 0;
    if (tables.count(0x100) || tables.count(2)) {
        const PcfTable accelerators = table(tables.count(0x100) ? 0x100 : 2);
        ascent = accelerators.i32(12);
        descent = accelerators.i32(16);
    } else {
        for (const PcfMetric& m : metrics) {
            ascent = std::max(ascent, m.ascent);
            descent = std::max(descent, m.descent);
        }
    }
    if (ascent < 0 || descent < 0 || ascent > kMaxGlyphSide || descent > kMaxGlyphSide ||
        ascent + descent > kMaxGlyphSide)
        throw Error(kTooLarge);
    font.ascent = ascent;
    const auto pixelSize = numbers.find("PIXEL_SIZE");
    font.pixelHeight = pixelSize != numbers.end() && pixelSize->second > 0 && pixelSize->second <= kMaxGlyphSide
                           ? pixelSize->second : ascent + descent;

    const PcfTable bitmaps = table(8);
    const std::uint32_t glyphCount = bitmaps.u32(4);
    bitmaps.in.require(glyphCount == metrics.size());
    const std::uint64_t dataAt = 8 + 4ull * glyphCount + 16;
    const std::string_view data = bitmaps.in.slice(dataAt, bitmaps.u32(8 + 4ull * glyphCount + 4 * (bitmaps.format & 3)));

    // Encodings: a two-byte range of codes, each naming its glyph or 0xFFFF for none.
    const PcfTable encodings = table(0x20);
    const unsigned min2 = encodings.u16(4), max2 = encodings.u16(6), min1 = encodings.u16(8), max1 = encodings.u16(10);
    const unsigned defaultChar = encodings.u16(12);
    encodings.in.require(min2 <= max2 && max2 <= 255 && min1 <= max1 && max1 <= 255);
    std::uint64_t ink = 0;
    std::uint64_t at = 14;
    for (unsigned b1 = min1; b1 <= max1; ++b1)
        for (unsigned b2 = min2; b2 <= max2; ++b2, at += 2) {
            const unsigned index = encodings.u16(at);
            if (index == 0xFFFF)
                continue;
            encodings.in.require(index < metrics.size());
            const PcfMetric& m = metrics[index];
            BitmapGlyph glyph = pcfGlyph(bitmaps, data, bitmaps.u32(8 + 4ull * index), m, ascent, ascent + descent);
            ink += glyph.ink.size();
            if (ink > kMaxInk)
                throw Error("zu viele Zeichen in der Schrift");
            font.glyphs[b1 << 8 | b2] = std::move(glyph);
        }
    if (font.glyphs.count(defaultChar))
        font.defaultCode = defaultChar;
    return font;
}

}  // namespace zeilwerk
