#pragma once

#include "core/game/message_walker.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zeilwerk {

// How often a word stands in a game's messages, and in how many events.
struct WordUse {
    int count = 0;
    int events = 0;
    std::uint64_t lastEvent = ~std::uint64_t(0);
};

// A word as the game's words are counted: its first letter small, so that a word at the start
// of a sentence counts with the same word inside one.
std::u16string wordKey(std::u16string_view word);
// The letter small or capital, for Latin letters with their accents and umlauts.
char16_t lowerLetter(char16_t c);
char16_t upperLetter(char16_t c);

// The name a message's first line gives its speaker ("Ortwin:", "\c[4]Ortwin:\c[0]"): up to
// three words before a colon that ends the line; none when the line is something else.
std::optional<std::u16string> speakerOf(std::u16string_view line);

// What a game teaches its spelling check: the words of the names the maker gave (database,
// maps, events, the speakers of the messages) and how often each word of its text stands.
class GameWords {
public:
    // A word used this often, in this many events, is the game's own word.
    static constexpr int kFrequentCount = 3;
    static constexpr int kFrequentEvents = 2;

    void addName(std::u16string_view name);
    // Counts the words of the messages and takes their speakers' names.
    void addMessages(const std::vector<GameMessage>& messages);

    bool isName(std::u16string_view word) const { return m_names.count(std::u16string(word)) > 0; }
    const WordUse* use(std::u16string_view word) const;
    bool frequent(std::u16string_view word) const;
    const std::unordered_set<std::u16string>& names() const { return m_names; }
    const std::unordered_map<std::u16string, WordUse>& uses() const { return m_uses; }

private:
    std::unordered_set<std::u16string> m_names;
    std::unordered_map<std::u16string, WordUse> m_uses;  // by wordKey
};

// The words of a whole game: its names of every kind and the messages of the lists.
GameWords collectGameWords(const std::vector<std::u16string>& names, const std::map<int, std::u16string>& heroNames,
                           const std::map<int, std::u16string>& mapNames,
                           const std::vector<const std::vector<GameMessage>*>& lists);

}  // namespace zeilwerk
