#include "core/game/game_message.h"

#include "core/message/message_codes.h"
#include "core/platform/code_page.h"

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
        const std::u16string_view line = m_message.lines[static_cast<size_t>(index)];
        bool silentCode = false;
        forEachMessageToken(line, [&](const MessageToken& token) {
            silentCode = false;
            if (token.kind == MessageToken::Kind::Text) {
                text(line.substr(token.at, token.length));
            } else if (token.kind == MessageToken::Kind::Symbol) {
                symbol(static_cast<int>(token.number));
            } else {
                const size_t before = m_out.size();
                m_timed = false;
                code(token);
                silentCode = m_out.size() == before && !m_timed;
            }
        });
        tell(GameMessageEvent::Kind::LineEnd, silentCode ? 1 : 0);
        colour = m_colour;
    }

    int x() const { return m_x; }

private:
    void character(char16_t c) {
        // What the Maker stores is the code page's form: a character it lacks is "?".
        const char16_t shown = m_page.survivor(c);
        const int width = m_page.byteLength(shown) == 2 ? 2 * kGameCell : kGameCell;
        tell(GameMessageEvent::Kind::Piece, static_cast<int>(m_out.size()));
        m_out.push_back({GamePiece::Kind::Glyph, shown, m_x, m_line, m_colour, width});
        m_x += width;
    }

    void symbol(int n) {
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

    // The number a code's brackets give, "\v[n]" giving the sample value; none without brackets.
    std::optional<std::int64_t> argument(const MessageToken& token) const {
        if (token.bracket == MessageToken::Bracket::None)
            return std::nullopt;
        return token.variable ? m_message.variable : token.number;
    }

    void code(const MessageToken& token) {
        using Kind = MessageToken::Kind;
        switch (token.kind) {
        case Kind::Backslash:
            character(u'\\');
            return;
        case Kind::Colour:
            if (const auto n = argument(token))
                m_colour = *n >= 0 && *n < kColours ? static_cast<int>(*n) : 0;
            tell(GameMessageEvent::Kind::Code);
            return;
        case Kind::Speed:
            if (const auto n = argument(token))
                tell(GameMessageEvent::Kind::Speed, static_cast<int>(std::min<std::int64_t>(*n, 1'000'000)));
            else
                tell(GameMessageEvent::Kind::Code);
            return;
        case Kind::Name: {
            const size_t before = m_out.size();
            if (const auto n = argument(token); n && m_message.heroNames)
                if (const auto name = m_message.heroNames->find(static_cast<int>(*n)); name != m_message.heroNames->end())
                    text(name->second);
            if (m_out.size() == before)
                tell(GameMessageEvent::Kind::Code);
            return;
        }
        case Kind::Variable:
            text(variableText());
            return;
        case Kind::HalfSpace:
            m_x += kGameHalfSpace;
            tellTimed(GameMessageEvent::Kind::HalfSpace);
            return;
        case Kind::Money:
            tellTimed(GameMessageEvent::Kind::Money);
            return;
        case Kind::Wait:
            tell(GameMessageEvent::Kind::Wait, 16);
            return;
        case Kind::LongWait:
            tell(GameMessageEvent::Kind::Wait, 61);
            return;
        case Kind::KeyWait:
            tell(GameMessageEvent::Kind::KeyWait);
            return;
        case Kind::NoEndWait:
            tell(GameMessageEvent::Kind::NoEndWait);
            return;
        case Kind::Instant:
            tell(GameMessageEvent::Kind::Instant);
            return;
        case Kind::InstantEnd:
            tell(GameMessageEvent::Kind::InstantEnd);
            return;
        case Kind::Unknown:
            tell(GameMessageEvent::Kind::Unknown);
            return;
        default:
            // A backslash ending the line draws nothing.
            tell(GameMessageEvent::Kind::Code);
            return;
        }
    }

    const GameMessageText& m_message;
    const CodePage& m_page;
    std::vector<GamePiece>& m_out;
    std::vector<GameMessageEvent>* m_events;
    bool m_timed = false;  // the code just read takes time though it sets no piece
    int m_line = 0;
    int m_x = 0;
    int m_colour = 0;
};

}  // namespace

GameTextExtent gameTextExtent(std::u16string_view text, const std::map<int, std::u16string>* heroNames,
                              std::int64_t variable, const CodePage& page) {
    GameMessageText message;
    message.lines[0] = std::u16string(text);
    message.heroNames = heroNames;
    message.variable = variable;
    message.left = 0;
    std::vector<GamePiece> pieces;
    LineSetter setter(message, page, pieces, nullptr);
    int colour = 0;
    setter.setLine(0, colour);
    GameTextExtent extent;
    for (const GamePiece& piece : pieces)
        extent.right = std::max(extent.right, piece.x + piece.width);
    extent.advance = setter.x();
    return extent;
}

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
