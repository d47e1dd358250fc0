#pragma once

#include "core/game/game_checks.h"
#include "core/game/game_folder.h"
#include "core/message/spelling_words.h"
#include "spelling/game_words.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace zeilwerk {

class Speller;

// A word of a line as the check sees it: where it stands, and the word it is checked as,
// which for a word hyphenated at the line's end is both halves joined.
struct CheckedWord {
    SpellingWord at;
    std::u16string word;
    bool tail = false;  // the second half of a hyphenated word: the first half reports it
};

// The spelling check of a game's lines. A word is right when the dictionary knows it, or it
// is a name of the game (with its genitive and plural endings), a sound drawn out ("Neiiin"),
// an interjection of our list, or a compound of known parts. A word the dictionary lacks that
// the game uses often is the game's own; a rare one next to a known word of the game is
// likely a typo of it. Remembers every distinct word's verdict, as a game repeats its words.
class SpellingCheck {
public:
    // Without the game's words: the dictionary, the heroes, the sounds and the compounds. With
    // askDictionary a reason asks the dictionary for suggestions when no word of the game is near.
    SpellingCheck(Speller& speller, const std::map<int, std::u16string>& heroNames,
                  std::shared_ptr<const GameWords> game = {}, bool askDictionary = false);

    enum class Kind : std::uint8_t { Known, GameWord, Wrong };
    Kind kindOf(std::u16string_view word);

    // The words of a line as checked, in line order; before and after are the lines around it,
    // where a word hyphenated across the line end goes on.
    std::vector<CheckedWord> checkedWords(std::u16string_view line, std::u16string_view before = {},
                                          std::u16string_view after = {});
    // The words of a line the check reports, for underlining.
    std::vector<SpellingWord> wrongWords(std::u16string_view line, std::u16string_view before = {},
                                         std::u16string_view after = {});
    // Findings of kind Spelling, one per reported word and line, in line order; the messages
    // before and after on the same page, where a hyphenated word begins or goes on.
    void checkMessage(const GameMessage& message, std::vector<Finding>& out, const GameMessage* before = nullptr,
                      const GameMessage* after = nullptr);

    // The known word of the game one letter away (one dropped, added, changed or two swapped),
    // the most used first; none without the game's words.
    struct Near {
        std::u16string word;
        int count = 0;
    };
    std::optional<Near> nearWord(std::u16string_view word);
    // What a finding of a wrong word says: the near word, or the suggestions given so far.
    const std::string& reason(std::u16string_view word);
    // Suggestions from the game's own words; Hunspell's only with askDictionary, as each costs
    // tens of milliseconds.
    std::vector<std::u16string> suggestions(std::u16string_view word, bool askDictionary, size_t most = 3);
    // Suggestions found elsewhere (by another thread's dictionary): the reason says them.
    void setSuggestions(std::u16string_view word, const std::vector<std::u16string>& suggestions);

    // A word added to the dictionary (and the word list) is right from now on.
    void add(std::u16string_view word);
    // The words the dictionary lacks that the game uses often enough to be its own, as seen
    // so far, with how often each stands.
    std::vector<std::pair<std::u16string, int>> gameVocabulary() const;

private:
    struct Verdict {
        Kind kind = Kind::Known;
        bool nearLooked = false;
        std::optional<Near> meant;
        bool described = false;
        bool suggested = false;
        std::vector<std::u16string> suggestions;
        std::string reason;
    };
    Verdict& verdict(std::u16string_view word);
    bool known(std::u16string_view word);
    bool knownAsIs(std::u16string_view word);
    bool nameForm(std::u16string_view word) const;
    bool compound(std::u16string_view word, int parts);
    bool part(std::u16string_view word);
    std::optional<std::u16string> slipOf(std::u16string_view word);
    void buildNearIndex();

    Speller& m_speller;
    bool m_askDictionary;
    std::unordered_set<std::u16string> m_heroWords;
    std::shared_ptr<const GameWords> m_game;
    std::unordered_map<std::u16string, Verdict> m_verdicts;
    std::unordered_map<std::u16string, bool> m_known;  // known() of words
    std::unordered_map<std::u16string, bool> m_parts;
    std::unordered_map<std::u16string, std::u16string> m_slips;  // compounds by chance: the word meant  // part() of compounds' parts, capitalised
    bool m_indexed = false;
    std::vector<std::u16string> m_targets;                  // the game's known words, by key
    std::vector<std::pair<std::uint64_t, std::uint32_t>> m_index;  // a hash of each target and its one-letter-shorter forms
};

// The findings of every message of the game, with the game's words; suggestions from the
// game's words, and from the dictionary when asked.
std::vector<Finding> checkSpelling(const GameMessages& game, Speller& speller, bool suggestions = true);

// The interjections and colloquial forms our list holds, which dictionaries lack.
const std::vector<std::u16string>& interjections();

}  // namespace zeilwerk
