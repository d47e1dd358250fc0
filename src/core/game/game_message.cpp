#include "core/game/game_message.h"

#include "core/platform/code_page.h"
#include "core/platform/number.h"

#include <algorithm>
#include <optional>

namespace zeilwerk {
namespace {

constexpr int kColours = 20;
constexpr int kSymbolWidth = 12;

// Reads a line front to back as the engine does, placing its cells.
class LineSetter {
public:
    LineSetter(const GameMessageText& message, const CodePage& page, std::vector<GamePiece>& out,
               std::vector<GameMessageEvent>* events)
        : m_message(message), m_page(page), m_out(out), m_events(events) {}

    void setLine(int index, int& colour) {
        m_line = index;
        m_x = m_message.left;
        m_colour = colour;
        for (int i = 0; i < m_message.indents[static_cast<size_t>(index)]; ++i)
            character(u' ');
        const std::u16string& text = m_message.lines[static_cast<size_t>(index)];
        m_text = text;
        m_at = 0;
        bool silentCode = false;
        while (m_at < m_text.size()) {
            const char16_t c = m_text[m_at++];
            const size_t before = m_out.size();
            if (c == u'\\') {
                m_timed = false;
                code();
                silentCode = m_out.size() == before && !m_timed;
            } else {
                if (c == u'$' && m_at < m_text.size() && isAsciiLetter(m_text[m_at]))
                    symbol(m_text[m_at++]);
                else
                    character(c);
                silentCode = false;
            }
        }
        tell(GameMessageEvent::Kind::LineEnd, silentCode ? 1 : 0);
        colour = m_colour;
    }

private:
    void character(char16_t c) {
        // What the Maker stores is the code page's form: a character it lacks is "?".
        const char16_t shown = m_page.survivor(c);
        const int width = m_page.byteLength(shown) == 2 ? 2 * kGameCell : kGameCell;
        tell(GameMessageEvent::Kind::Piece, static_cast<int>(m_out.size()));
        m_out.push_back({GamePiece::Kind::Glyph, shown, m_x, m_line, m_colour, width});
        m_x += width;
    }

    void symbol(char16_t letter) {
        const int n = letter <= u'Z' ? letter - u'A' : 26 + (letter - u'a');
        tell(GameMessageEvent::Kind::Piece, static_cast<int>(m_out.size()));
        m_out.push_back({GamePiece::Kind::Symbol, static_cast<char16_t>(n), m_x, m_line, m_colour, kSymbolWidth});
        m_x += kSymbolWidth;
    }

    void tell(GameMessageEvent::Kind kind, int value = 0) {
        if (m_events)
            m_events->push_back({kind, value});
    }

    // A code that prints nothing yet takes a character's time.
    void tellTimed(GameMessageEvent::Kind kind) {
        tell(kind);
        m_timed = true;
    }

    void text(std::u16string_view s) {
        for (char16_t c : s)
            character(c);
    }

    std::u16string variableText() const { return std::u16string(toU16(std::to_string(m_message.variable))); }

    static std::u16string toU16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

    // The number between brackets after a code letter: digits, or "\v[digits]", whose value
    // is the sample value. Nothing when no bracket follows; the rest of the line is taken
    // when the bracket is never closed.
    std::optional<std::int64_t> argument(bool& opened) {
        opened = m_at < m_text.size() && m_text[m_at] == u'[';
        if (!opened)
            return std::nullopt;
        const size_t close = m_text.find(u']', m_at + 1);
        std::u16string_view inside(m_text);
        inside = inside.substr(m_at + 1, close == std::u16string::npos ? std::u16string::npos : close - m_at - 1);
        size_t end = close;
        std::optional<std::int64_t> value;
        if (inside.size() >= 3 && inside[0] == u'\\' && asciiLower(inside[1]) == u'v' && inside[2] == u'[') {
            // The inner code has a bracket of its own: the outer one closes after it.
            end = close == std::u16string::npos ? close : m_text.find(u']', close + 1);
            value = m_message.variable;
        } else {
            std::int64_t n = 0;
            for (char16_t c : inside) {
                if (c < u'0' || c > u'9')
                    break;
                n = std::min<std::int64_t>(n * 10 + (c - u'0'), 1'000'000'000);
            }
            value = n;
        }
        m_at = end == std::u16string::npos ? m_text.size() : end + 1;
        return value;
    }

    void code() {
        if (m_at == m_text.size())
            return;
        const char16_t letter = m_text[m_at++];
        bool opened = false;
        switch (asciiLower(letter)) {
        case u'\\':
            character(u'\\');
            return;
        case u'c':
            if (const auto n = argument(opened))
                m_colour = *n >= 0 && *n < kColours ? static_cast<int>(*n) : 0;
            return;
        case u's':
            if (const auto n = argument(opened))
                tell(GameMessageEvent::Kind::Speed, static_cast<int>(std::min<std::int64_t>(*n, 1'000'000)));
            return;
        case u'n':
            if (const auto n = argument(opened); n && m_message.heroNames)
                if (const auto name = m_message.heroNames->find(static_cast<int>(*n)); name != m_message.heroNames->end())
                    text(name->second);
            return;
        case u'v':
            argument(opened);
            text(variableText());
            return;
        case u'_':
            m_x += kGameHalfSpace;
            tellTimed(GameMessageEvent::Kind::HalfSpace);
            return;
        case u'$':
            tellTimed(GameMessageEvent::Kind::Money);
            return;
        case u'.':
            tell(GameMessageEvent::Kind::Wait, 16);
            return;
        case u'|':
            tell(GameMessageEvent::Kind::Wait, 61);
            return;
        case u'!':
            tell(GameMessageEvent::Kind::KeyWait);
            return;
        case u'^':
            tell(GameMessageEvent::Kind::NoEndWait);
            return;
        case u'>':
            tell(GameMessageEvent::Kind::Instant);
            return;
        case u'<':
            tell(GameMessageEvent::Kind::InstantEnd);
            return;
        default:
            // Unknown letters draw nothing.
            return;
        }
    }

    const GameMessageText& m_message;
    const CodePage& m_page;
    std::vector<GamePiece>& m_out;
    std::vector<GameMessageEvent>* m_events;
    bool m_timed = false;  // the code just read takes time though it sets no piece
    std::u16string_view m_text;
    size_t m_at = 0;
    int m_line = 0;
    int m_x = 0;
    int m_colour = 0;
};

}  // namespace

std::vector<GamePiece> layOutGameMessage(const GameMessageText& message, const CodePage& page,
                                         std::vector<GameMessageEvent>* events) {
    std::vector<GamePiece> pieces;
    LineSetter setter(message, page, pieces, events);
    int colour = 0;
    for (int i = 0; i < 4; ++i)
        setter.setLine(i, colour);
    return pieces;
}

}  // namespace zeilwerk
