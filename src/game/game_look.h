#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zeilwerk {

struct BitmapFont;
class CodePage;
struct FontPlaces;

// A glyph as the engine draws it: its ink, row by row, bit x for column x, from the
// cell's top-left corner.
struct GlyphMask {
    int width = 0;
    int height = 0;
    std::array<std::uint16_t, 16> rows{};
    bool at(int x, int y) const { return y >= 0 && y < height && x >= 0 && x < 16 && (rows[y] >> x & 1); }
};

// A font's glyphs by UTF-16 unit.
class GameGlyphs {
public:
    GameGlyphs() = default;
    // A font whose codes are bytes is read through the code page.
    GameGlyphs(const BitmapFont& font, const CodePage& page);
    const GlyphMask* of(char16_t unit) const {
        const std::uint16_t i = m_index.empty() ? 0 : m_index[unit];
        return i ? &m_masks[i - 1] : nullptr;
    }
    void add(char16_t unit, const GlyphMask& mask);
    bool empty() const { return m_masks.empty(); }

private:
    std::vector<GlyphMask> m_masks;
    std::vector<std::uint16_t> m_index;  // 65536 entries; 0 for none, else mask + 1
};

inline constexpr QRgb kGameBackground = 0xFF404040;  // what shows where the window is transparent

// What a game shows of a message: its window, the System graphic its text colours come
// from, the text shadow, the font, the symbols and the heroes' names.
struct GameLook {
    QImage window;  // the 320 × 80 box, RGB32: background, wallpaper, frame and the "more" arrow
    QImage system;  // the System graphic, ARGB32 in the engine's 16-bit colours; alpha 0 at index 0
    std::optional<QRgb> shadow;  // none when the shadow pixel is transparent
    GameGlyphs font;
    std::array<GlyphMask, 52> symbols;  // "$A".."$Z", "$a".."$z"
    QString fontName;                  // as the tab "Spiel" names it, "RMG2000 (Spielordner)"
    std::map<int, std::u16string> heroNames;
};

// A colour as the engine shows it: 5 bits of red, 6 of green, 5 of blue, widened again.
QRgb engineColour(QRgb colour);

// A sheet of 13 × 4 symbols of 12 × 12, symbol i at column i mod 13, row i div 13; ink
// where the sheet is not transparent.
std::array<GlyphMask, 52> symbolsFromSheet(const QImage& sheet);
// Our own 52 symbols, for games that bring none.
std::array<GlyphMask, 52> ownSymbols();
// A System graphic of our own, for games whose graphic is missing.
QImage ownSystemGraphic();

// A file or folder of that name in a folder, its letter case ignored as on Windows; an
// exact match wins over one that differs in case only.
std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& folder, const QString& name);

// Whether the folder holds a game's database, RPG_RT.ldb.
bool holdsGameDatabase(const std::filesystem::path& folder);

// The System graphic's file for a name with or without extension: System/<name>.png, .bmp or .xyz.
std::optional<std::filesystem::path> findSystemGraphic(const std::filesystem::path& gameFolder, const QString& name);

// Reads a game's look from its folder: the database, the System graphic named (or the
// database's when systemName is empty), the database's font and the symbols. Throws
// Error("Die Spieldaten konnten nicht gelesen werden: <file>") followed by the reason when
// the folder or its database cannot be read; what else is missing is told in problems, and
// our own graphic, font or symbols stand in for it.
GameLook loadGameLook(const std::filesystem::path& gameFolder, const QString& systemName, const FontPlaces& fonts,
                      std::vector<QString>* problems);

// Reads a System graphic (PNG, BMP or XYZ) as ARGB32: palette index 0 is transparent.
QImage readSystemGraphic(const std::filesystem::path& path);

// The 320 × 80 window drawn from a System graphic over the background: the wallpaper
// stretched or tiled from the top left, the frame's corners and edges over it, the "more"
// arrow at (152, 72); transparent pixels show what lies under them.
QImage drawGameWindow(const QImage& system, bool tiledWallpaper);

}  // namespace zeilwerk
