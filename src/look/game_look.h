#pragma once

#include "core/game/message_options.h"

#include <QImage>
#include <QPoint>
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

// A message's own options and what the game shows behind the message.
struct GameMessageOptions : MessageOptions {
    QString background;  // a picture of the folder Picture or Panorama; empty: none
    int backgroundX = settings::spielHintergrundX.number();  // its centre on the 320 × 240 screen
    int backgroundY = settings::spielHintergrundY.number();
    bool wholeScreen = false; // the preview shows the whole screen, not the box alone
};

inline constexpr QSize kGameScreen(320, 240);

// What a game shows of a message: its window, the System graphic its text colours come
// from, the text shadow, the font, the symbols and the heroes' names.
struct GameLook {
    QImage window;  // the 320 × 80 box, RGB32: what lies behind it, wallpaper, frame and the "more" arrow
    QImage bareWindow;  // the same box with the arrow off, as it blinks while a key is awaited
    QImage frame;   // wallpaper and frame, ARGB32, transparent where the graphic is
    QImage arrow;   // the "more" arrow alone at its place in the box, ARGB32
    QImage screen;  // the 320 × 240 screen behind the box, RGB32
    int boxTop = 160;          // where the box stands on the screen
    bool wholeScreen = false;
    QImage face;               // 48 × 48, ARGB32, mirrored when asked; null for none
    QPoint facePoint;          // its place in the box
    bool faceOnLeft = false;   // the text then starts at 80
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

// Whether the folder holds a game's database, RPG_RT.ldb.
bool holdsGameDatabase(const std::filesystem::path& folder);

// A picture of a game's folder (System, FaceSet, Picture, Panorama) for a name with or
// without extension: <folder>/<name>.png, .bmp or .xyz, letter case ignored.
std::optional<std::filesystem::path> findGameGraphic(const std::filesystem::path& gameFolder, const char* folder,
                                                     const QString& name);
std::optional<std::filesystem::path> findSystemGraphic(const std::filesystem::path& gameFolder, const QString& name);
// The background picture: from Picture, else from Panorama.
std::optional<std::filesystem::path> findBackground(const std::filesystem::path& gameFolder, const QString& name);
// Reads a game's picture for the game's look: index 0 transparent, in the engine's colours.
QImage readGamePicture(const std::filesystem::path& path);

// Reads a game's look from its folder: the database, the System graphic named (or the
// database's when systemName is empty), the database's font and the symbols. Throws
// Error("Die Spieldaten konnten nicht gelesen werden: <file>") followed by the reason when
// the folder or its database cannot be read; what else is missing is told in problems, and
// our own graphic, font or symbols stand in for it.
GameLook loadGameLook(const std::filesystem::path& gameFolder, const QString& systemName, const FontPlaces& fonts,
                      std::vector<QString>* problems);

// Reads a System graphic (PNG, BMP or XYZ) as ARGB32: palette index 0 is transparent.
QImage readSystemGraphic(const std::filesystem::path& path);

// The 320 × 80 window drawn from a System graphic, ARGB32: the wallpaper stretched or tiled
// from the top left, the frame's corners and edges over it, transparent where the graphic is.
QImage drawGameFrame(const QImage& system, bool tiledWallpaper);
// The same over the background colour, with the "more" arrow at (152, 72).
QImage drawGameWindow(const QImage& system, bool tiledWallpaper);

// Puts the message's options into the look: the box as it stands on the screen in front of
// the background, the face. What cannot be read is told in problems and left out.
void applyMessageOptions(GameLook& look, const std::filesystem::path& gameFolder, const GameMessageOptions& options,
                         std::vector<QString>* problems);

}  // namespace zeilwerk
