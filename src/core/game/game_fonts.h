#pragma once

#include "core/game/bitmap_font.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

// The free 6 × 12 font drawn when the game's own is nowhere (shinonome, Latin-1).
inline constexpr const char* kFallbackFontFile = "shnm6x12a.pcf.gz";

enum class FontSource { GameFolder, WindowsFonts, SystemFonts, Fallback };

struct FoundFont {
    BitmapFont font;
    std::filesystem::path file;
    FontSource source = FontSource::Fallback;
};

// Where fonts are looked for after the game folder, in this order.
struct FontPlaces {
    std::vector<std::filesystem::path> windowsFonts;  // each folder's top level
    std::vector<std::filesystem::path> systemFonts;   // walked with their sub-folders
    std::filesystem::path fallback;                   // the shinonome file
};

// Windows: %WINDIR%\Fonts. Elsewhere: the Wine prefix's (WINEPREFIX or ~/.wine) Fonts and
// Wine's own fonts, then the usual font folders. The fallback beside the program in fonts/,
// else where it is installed, else in the system's X11 fonts.
FontPlaces defaultFontPlaces(const std::filesystem::path& programFolder);

// The font whose family inside the file (not the file's name) is `family`, ignoring letter
// case, from the game folder (its top level and its sub-folder Font or Fonts), else the
// Windows fonts, else the system's. Of several sizes the one 12 or 13 pixels high wins, else
// the nearest to 12; before the size, a font of the character set asked for (FNT dfCharSet;
// -1 asks for none and prefers ANSI, 0) wins over other code pages' fonts. Only *.fon and *.fnt files up to 4 MiB are read, each at most once; a
// damaged one is skipped with a note. The fallback when none is found; nothing only when even
// that cannot be read.
std::optional<FoundFont> findBitmapFont(const std::filesystem::path& gameFolder, std::string_view family,
                                        const FontPlaces& places, std::vector<std::string>* notes, int charset = -1);

}  // namespace zeilwerk
