#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zeilwerk {

class CodePage;

// One thing the engine draws of a message: a character of the font or one of the 52
// symbols, in its cell, in one of the twenty colours.
struct GamePiece {
    enum class Kind : std::uint8_t { Glyph, Symbol };
    Kind kind = Kind::Glyph;
    char16_t code = 0;  // the character, or the symbol's number 0 to 51
    int x = 0;          // the cell's left edge in the box
    int line = 0;       // 0 to 3
    int colour = 0;
    int width = 6;      // 6 for half width, 12 for full width and symbols
    bool operator==(const GamePiece&) const = default;
};

struct GameMessageText {
    std::array<std::u16string, 4> lines;            // as typed
    std::array<int, 4> indents{};                   // leading spaces, as the export gives them
    const std::map<int, std::u16string>* heroNames = nullptr;
    std::int64_t variable = 0;                      // what every \v[n] prints
    int left = 8;                                   // where the text starts: 8, or 80 beside a face
    int right = 308;                                // no cell ends beyond it: 240 beside a face on the right
    int lineCount = 4;                              // the lines the message has; the box holds no more
};

inline constexpr int kGameCell = 6;        // a half-width character's advance
inline constexpr int kGameHalfSpace = 3;   // what "\_" advances

// What the engine's clock reads of a message as it sets it, in reading order.
struct GameMessageEvent {
    enum class Kind : std::uint8_t {
        Piece,      // value: the index of the piece set
        HalfSpace,  // "\_": no piece, a half-width character's time
        Money,      // "\$": no piece in the box, the speed's time
        Speed,      // value: n of "\s[n]" as typed
        Wait,       // value: frames, of "\." and "\|"
        KeyWait,    // "\!"
        NoEndWait,  // "\^"
        Instant,    // "\>"
        InstantEnd, // "\<"
        Code,       // any other code that prints nothing: "\c[n]", "\n[n]" of no hero, ...
        Unknown,    // a backslash and a letter the engine does not know: the speed's time
        LineEnd,    // value: 1 after a code that printed nothing, else 0
    };
    Kind kind = Kind::Piece;
    int value = 0;
    bool operator==(const GameMessageEvent&) const = default;
};

// The cells of a message as the engine sets them, line by line, codes read in either case;
// the colour starts at 0 and carries from line to line. Pieces beyond the box are kept:
// the drawing clips them. With events, what the clock reads is told there as well.
std::vector<GamePiece> layOutGameMessage(const GameMessageText& message, const CodePage& page,
                                         std::vector<GameMessageEvent>* events = nullptr);

// How far a piece of a line reaches, set by the same reading from x = 0: the end of its last
// cell (0 without one), and where the character after it would go. Widths add up: a line's
// pieces set one after another reach as far as the line set at once.
struct GameTextExtent {
    int right = 0;
    int advance = 0;
    bool operator==(const GameTextExtent&) const = default;
};
GameTextExtent gameTextExtent(std::u16string_view text, const std::map<int, std::u16string>* heroNames,
                              std::int64_t variable, const CodePage& page);

}  // namespace zeilwerk
