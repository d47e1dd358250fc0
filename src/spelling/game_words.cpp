#include "spelling/game_words.h"

#include "core/message/message_codes.h"
#include "core/message/spelling_words.h"

namespace zeilwerk {
namespace {

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0x3000 || c == 0xA0;
}

std::uint64_t eventOf(const MessagePlace& place) {
    return static_cast<std::uint64_t>(place.kind) << 60 ^ static_cast<std::uint64_t>(place.source & 0xFFFFFFF) << 32 ^
           static_cast<std::uint32_t>(place.event);
}

}  // namespace

char16_t lowerLetter(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<char16_t>(c + 0x20);
    return c;
}

char16_t upperLetter(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<char16_t>(c - 0x20);
    return c;
}

std::u16string wordKey(std::u16string_view word) {
    std::u16string key(word);
    if (!key.empty())
        key[0] = lowerLetter(key[0]);
    return key;
}

std::optional<std::u16string> speakerOf(std::u16string_view line) {
    std::u16string text;
    forEachMessageToken(line, [&](const MessageToken& token) {
        if (token.kind == MessageToken::Kind::Text)
            text += line.substr(token.at, token.length);
        else if (token.kind == MessageToken::Kind::Name)
            text += u'\x1';  // "\n[1]:" speaks too, but gives no word
    });
    size_t end = text.size();
    while (end && isSpace(text[end - 1]))
        --end;
    if (!end || text[end - 1] != u':')
        return std::nullopt;
    --end;
    size_t start = 0;
    while (start < end && isSpace(text[start]))
        ++start;
    const std::u16string name = text.substr(start, end - start);
    if (name.empty() || name.size() > 40)
        return std::nullopt;
    int words = 1;
    for (const char16_t c : name) {
        if (c == u' ')
            ++words;
        else if (c == u'\x1' || c == u'.' || c == u'-' || isApostrophe(c))
            continue;
        else if (spellingWords(std::u16string_view(&c, 1)).empty())
            return std::nullopt;  // a digit, a mark: a line that merely ends in a colon
    }
    if (words > 3)
        return std::nullopt;
    return name;
}

void GameWords::addName(std::u16string_view name) {
    for (const SpellingWord& w : spellingWords(name))
        m_names.emplace(name.substr(w.at, w.length));
}

void GameWords::addMessages(const std::vector<GameMessage>& messages) {
    for (const GameMessage& m : messages) {
        if (!m.lines.empty())
            if (const std::optional<std::u16string> speaker = speakerOf(m.lines.front()))
                addName(*speaker);
        const std::uint64_t event = eventOf(m.place);
        for (const std::u16string& line : m.lines)
            for (const SpellingWord& w : spellingWords(line)) {
                WordUse& use = m_uses[wordKey(std::u16string_view(line).substr(w.at, w.length))];
                ++use.count;
                if (use.lastEvent != event) {
                    use.lastEvent = event;
                    ++use.events;
                }
            }
    }
}

const WordUse* GameWords::use(std::u16string_view word) const {
    const auto found = m_uses.find(wordKey(word));
    return found == m_uses.end() ? nullptr : &found->second;
}

bool GameWords::frequent(std::u16string_view word) const {
    const WordUse* u = use(word);
    return u && u->count >= kFrequentCount && u->events >= kFrequentEvents;
}

GameWords collectGameWords(const std::vector<std::u16string>& names, const std::map<int, std::u16string>& heroNames,
                           const std::map<int, std::u16string>& mapNames,
                           const std::vector<const std::vector<GameMessage>*>& lists) {
    GameWords words;
    for (const std::u16string& name : names)
        words.addName(name);
    for (const auto& [id, name] : heroNames)
        words.addName(name);
    for (const auto& [id, name] : mapNames)
        words.addName(name);
    for (const auto* list : lists)
        words.addMessages(*list);
    return words;
}

}  // namespace zeilwerk
