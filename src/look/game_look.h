#pragma once

#include "core/game/game_checks.h"

#include "core/game/message_options.h"
#include "look/game_glyphs.h"

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

struct FontPlaces;

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
    QString systemName;  // the game's System graphic's name; empty when our own stands in
    std::uint32_t invisibleColours = 0;  // bit n: text colour n's cell is transparent in the game's graphic
    std::optional<QRgb> shadow;  // none when the shadow pixel is transparent
    GameGlyphs font;
    std::array<GlyphMask, 52> symbols;  // "$A".."$Z", "$a".."$z"
    QString fontName;                  // as the tab "Spiel" names it, "RMG2000 (Spielordner)"
    std::map<int, std::u16string> heroNames;
};

// Reads a game's look from its folder: the database, the System graphic named (or the
// database's when systemName is empty), the database's font and the symbols. Throws
// Error("Die Spieldaten konnten nicht gelesen werden: <file>") followed by the reason when
// the folder or its database cannot be read; what else is missing is told in problems, and
// our own graphic, font or symbols stand in for it.
GameLook loadGameLook(const std::filesystem::path& gameFolder, const QString& systemName, const FontPlaces& fonts,
                      std::vector<QString>* problems);

// The text colours whose cell in a System graphic (as stored: index 0 transparent) is
// transparent all through, as bits 0 to 19: the game draws their text invisible.
std::uint32_t invisibleTextColours(const QImage& system);
// The same of the game in a folder, with its System graphic's name; none when the game names
// none or it cannot be read (the look says why).
std::optional<std::pair<std::string, std::uint32_t>> gameInvisibleColours(const std::filesystem::path& gameFolder);
// The look's invisible colours into the checks' settings.
void addLookToChecks(const GameLook& look, CheckSettings& settings);

// Puts the message's options into the look: the box as it stands on the screen in front of
// the background, the face. What cannot be read is told in problems and left out.
void applyMessageOptions(GameLook& look, const std::filesystem::path& gameFolder, const GameMessageOptions& options,
                         std::vector<QString>* problems);

}  // namespace zeilwerk
