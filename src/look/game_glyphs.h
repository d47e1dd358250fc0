#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <filesystem>
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

// A sheet of 13 × 4 symbols of 12 × 12, symbol i at column i mod 13, row i div 13; ink
// where the sheet is not transparent.
std::array<GlyphMask, 52> symbolsFromSheet(const QImage& sheet);

// The font of the database's font slot as the game shows it, and its name as the tab
// "Spiel" names it, "RMG2000 (Spielordner)"; "keine" and no glyphs when none is found.
struct GameFont {
    GameGlyphs glyphs;
    QString name;
};
GameFont loadGameFont(const std::filesystem::path& gameFolder, int fontSlot, const FontPlaces& fonts,
                      const CodePage& page, std::vector<QString>* problems);

// The symbols: the game's ExFont picture, else the sheet in its RPG_RT.exe, else ours.
std::array<GlyphMask, 52> loadGameSymbols(const std::filesystem::path& gameFolder, std::vector<QString>* problems);

}  // namespace zeilwerk
