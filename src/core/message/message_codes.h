#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zeilwerk {

// One piece of a message line as the game reads it: a run of plain characters, a "$A"
// symbol, or a backslash code, whose letter is read in either case.
struct MessageToken {
    enum class Kind : std::uint8_t {
        Text,
        Symbol,      // number: 0 to 51
        Colour,      // "\c[n]"
        Speed,       // "\s[n]"
        Name,        // "\n[n]"
        Variable,    // "\v[n]"
        Backslash,   // "\\": a backslash drawn
        HalfSpace,   // "\_"
        Money,       // "\$"
        Wait,        // "\."
        LongWait,    // "\|"
        KeyWait,     // "\!"
        NoEndWait,   // "\^"
        Instant,     // "\>"
        InstantEnd,  // "\<"
        Unknown,     // a backslash and any other character: the game draws nothing
        Unfinished,  // a backslash that ends the line
    };
    // A number code's bracket: none after its letter, closed, or never closed, when the
    // code takes the rest of the line.
    enum class Bracket : std::uint8_t { None, Closed, Open };

    Kind kind = Kind::Text;
    std::size_t at = 0;
    std::size_t length = 0;
    Bracket bracket = Bracket::None;
    bool variable = false;        // the brackets hold "\v[..]": the number is the variable's
    std::int64_t number = 0;      // the digits the brackets start with, at most 1,000,000,000
    std::u16string_view inside;   // what the brackets hold
};

// c, s, n and v: the codes that read a number in brackets.
bool takesNumber(MessageToken::Kind kind);

// The token that starts at `at`, which lies inside the line. A bracket closes at the first
// "]" after it; one that holds "\v[" closes at the "]" after that.
MessageToken messageTokenAt(std::u16string_view line, std::size_t at);

// Each token of a line in order; together they cover it.
template <typename Visit>
void forEachMessageToken(std::u16string_view line, Visit&& visit) {
    for (std::size_t at = 0; at < line.size();) {
        const MessageToken token = messageTokenAt(line, at);
        visit(token);
        at += token.length;
    }
}

}  // namespace zeilwerk
