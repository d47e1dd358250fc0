#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace zeilwerk {

// One word of a message line, in UTF-16 code units, for the checks and for underlining it.
struct SpellingWord {
    size_t at = 0;
    size_t length = 0;
    bool operator==(const SpellingWord&) const = default;
};

// The words of names (the heroes'), which the checks leave alone wherever they stand.
std::unordered_set<std::u16string> nameWords(const std::map<int, std::u16string>& names);

// The words of a line worth checking, in line order: runs of letters (an apostrophe between
// two letters belongs to the word, a hyphen parts it). Codes and what their brackets hold,
// "$A" symbols, numbers, words with digits, the ending glued to a "\n[n]", and the words in
// skip are left out.
std::vector<SpellingWord> spellingWords(std::u16string_view line, const std::unordered_set<std::u16string>& skip = {});

// "'" and "’", which join the parts of "geht's".
bool isApostrophe(char16_t c);

}  // namespace zeilwerk
