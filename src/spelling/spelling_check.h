#pragma once

#include "core/game/game_checks.h"
#include "core/game/game_folder.h"
#include "core/message/spelling_words.h"

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zeilwerk {

class Speller;

// The spelling check of a game's lines; remembers the verdict of every distinct word, as a
// game repeats its words a lot. Suggestions cost about 20 ms a wrong word with de_DE, a
// check some microseconds: without them a game full of own names is checked at once.
class SpellingCheck {
public:
    SpellingCheck(Speller& speller, const std::map<int, std::u16string>& heroNames, bool suggestions = true);

    // The words of a line that the dictionary does not know, for underlining.
    std::vector<SpellingWord> wrongWords(std::u16string_view line);
    // Findings of kind Spelling, one per unknown word and line, in line order.
    void checkMessage(const GameMessage& message, std::vector<Finding>& out);
    // What a finding of a wrong word says, with its first suggestions when they are asked for.
    const std::string& reason(std::u16string_view word);
    // A word added to the dictionary (and the word list) is right from now on.
    void add(std::u16string_view word);

private:
    struct Verdict {
        bool known = false;
        bool suggested = false;
        std::string reason;  // once asked for
    };
    bool known(std::u16string_view word);
    Verdict& verdict(std::u16string_view word);

    Speller& m_speller;
    bool m_suggestions;
    std::unordered_set<std::u16string> m_names;
    std::unordered_map<std::u16string, Verdict> m_verdicts;
};

// The findings of every message of the game.
std::vector<Finding> checkSpelling(const GameMessages& game, Speller& speller, bool suggestions = true);

}  // namespace zeilwerk
