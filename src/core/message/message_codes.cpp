#include "core/message/message_codes.h"

#include "core/platform/text.h"

#include <algorithm>

namespace zeilwerk {
namespace {

using Kind = MessageToken::Kind;

constexpr std::int64_t kLargestNumber = 1'000'000'000;

Kind codeOf(char16_t letter) {
    switch (asciiLower(letter)) {
    case u'c': return Kind::Colour;
    case u's': return Kind::Speed;
    case u'n': return Kind::Name;
    case u'v': return Kind::Variable;
    case u'\\': return Kind::Backslash;
    case u'_': return Kind::HalfSpace;
    case u'$': return Kind::Money;
    case u'.': return Kind::Wait;
    case u'|': return Kind::LongWait;
    case u'!': return Kind::KeyWait;
    case u'^': return Kind::NoEndWait;
    case u'>': return Kind::Instant;
    case u'<': return Kind::InstantEnd;
    default: return Kind::Unknown;
    }
}

bool startsSymbol(std::u16string_view line, std::size_t at) {
    return line[at] == u'$' && at + 1 < line.size() && isAsciiLetter(line[at + 1]);
}

// The bracket after a number code's letter, `open` its "[".
void readBracket(std::u16string_view line, std::size_t open, MessageToken& token) {
    std::size_t close = line.find(u']', open + 1);
    const std::u16string_view first = line.substr(open + 1, close == line.npos ? line.npos : close - open - 1);
    token.variable = first.size() >= 3 && first[0] == u'\\' && asciiLower(first[1]) == u'v' && first[2] == u'[';
    // The inner code's bracket closes first, then ours.
    if (token.variable && close != line.npos)
        close = line.find(u']', close + 1);
    token.bracket = close == line.npos ? MessageToken::Bracket::Open : MessageToken::Bracket::Closed;
    const std::size_t end = close == line.npos ? line.size() : close + 1;
    token.inside = line.substr(open + 1, (close == line.npos ? line.size() : close) - open - 1);
    token.length = end - token.at;
    if (token.variable)
        return;
    for (const char16_t c : token.inside) {
        if (c < u'0' || c > u'9')
            break;
        token.number = std::min(token.number * 10 + (c - u'0'), kLargestNumber);
    }
}

}  // namespace

bool takesNumber(MessageToken::Kind kind) {
    return kind == Kind::Colour || kind == Kind::Speed || kind == Kind::Name || kind == Kind::Variable;
}

MessageToken messageTokenAt(std::u16string_view line, std::size_t at) {
    MessageToken token;
    token.at = at;
    if (line[at] == u'\\') {
        if (at + 1 == line.size()) {
            token.kind = Kind::Unfinished;
            token.length = 1;
            return token;
        }
        token.kind = codeOf(line[at + 1]);
        token.length = 2;
        if (takesNumber(token.kind) && at + 2 < line.size() && line[at + 2] == u'[')
            readBracket(line, at + 2, token);
        return token;
    }
    if (startsSymbol(line, at)) {
        const char16_t letter = line[at + 1];
        token.kind = Kind::Symbol;
        token.length = 2;
        token.number = letter <= u'Z' ? letter - u'A' : 26 + (letter - u'a');
        return token;
    }
    std::size_t end = at + 1;
    while (end < line.size() && line[end] != u'\\' && !startsSymbol(line, end))
        ++end;
    token.length = end - at;
    return token;
}

}  // namespace zeilwerk
