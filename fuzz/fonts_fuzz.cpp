#include "core/game/bitmap_font.h"
#include "core/game/pe_resources.h"

#include "core/platform/error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// A font that came out must hold what its glyphs promise, within the size limit.
void check(const zeilwerk::BitmapFont& font) {
    for (const auto& [code, glyph] : font.glyphs)
        if (glyph.width < 0 || glyph.height < 0 || glyph.width > zeilwerk::kMaxGlyphSide ||
            glyph.height > zeilwerk::kMaxGlyphSide || glyph.ink.size() != std::size_t(glyph.width) * glyph.height)
            std::abort();
}

}  // namespace

// The fuzzed bytes are a .fon, an .fnt, a PCF and an executable (its bitmaps and version) at once: each reads, or is
// refused with the program's own error; nothing else.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        for (const auto& font : zeilwerk::readFon(bytes))
            check(font);
    } catch (const zeilwerk::Error&) {
    }
    try {
        check(zeilwerk::readFnt(bytes));
    } catch (const zeilwerk::Error&) {
    }
    try {
        check(zeilwerk::readPcf(bytes));
    } catch (const zeilwerk::Error&) {
    }
    for (std::u16string_view name : {std::u16string_view(u"TXTBOX"), std::u16string_view(u"#1")}) {
        try {
            if (const auto dib = zeilwerk::readPeBitmap(bytes, name)) {
                if (dib->size() > size)
                    std::abort();
                (void)zeilwerk::bitmapFileFromDib(*dib);
            }
        } catch (const zeilwerk::Error&) {
        }
    }
    try {
        (void)zeilwerk::bitmapFileFromDib(bytes);
    } catch (const zeilwerk::Error&) {
    }
    try {
        (void)zeilwerk::readPeFileVersion(bytes);
    } catch (const zeilwerk::Error&) {
    }
    return 0;
}
