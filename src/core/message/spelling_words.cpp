#include "core/message/spelling_words.h"

#include "core/message/message_codes.h"
#include "core/platform/text.h"

namespace zeilwerk {
namespace {

// Latin with its accents and umlauts, Greek and Cyrillic; the marks between them are not letters.
bool isLetter(char16_t c) {
    if (c < 0x80)
        return isAsciiLetter(c);
    if (c == 0xAA || c == 0xB5 || c == 0xBA)
        return true;
    if (c >= 0xC0 && c <= 0x24F)
        return c != 0xD7 && c != 0xF7;
    return (c >= 0x370 && c <= 0x52F && c != 0x37E && c != 0x387) || (c >= 0x1E00 && c <= 0x1EFF);
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

bool isApostrophe(char16_t c) {
    return c == u'\'' || c == 0x2019;
}

std::vector<SpellingWord> spellingWords(std::u16string_view line, const std::unordered_set<std::u16string>& skip) {
    std::vector<SpellingWord> words;
    bool afterName = false;
    forEachMessageToken(line, [&](const MessageToken& token) {
        if (token.kind != MessageToken::Kind::Text) {
            afterName = token.kind == MessageToken::Kind::Name && token.bracket != MessageToken::Bracket::None;
            return;
        }
        const size_t end = token.at + token.length;
        for (size_t i = token.at; i < end;) {
            if (!isLetter(line[i]) && !isDigit(line[i])) {
                afterName = false;
                ++i;
                continue;
            }
            const size_t start = i;
            bool digits = false;
            for (; i < end; ++i) {
                if (isDigit(line[i]))
                    digits = true;
                else if (!isLetter(line[i]) &&
                         !(isApostrophe(line[i]) && i + 1 < end && isLetter(line[i - 1]) && isLetter(line[i + 1])))
                    break;
            }
            // "\\n[1]s Schwert": the ending belongs to the hero's name.
            if (!digits && !afterName && (skip.empty() || !skip.count(std::u16string(line.substr(start, i - start)))))
                words.push_back({start, i - start});
            afterName = false;
        }
    });
    return words;
}

std::unordered_set<std::u16string> nameWords(const std::map<int, std::u16string>& names) {
    std::unordered_set<std::u16string> words;
    for (const auto& [id, name] : names)
        for (const SpellingWord& w : spellingWords(name))
            words.insert(name.substr(w.at, w.length));
    return words;
}

}  // namespace zeilwerk
