#pragma once

#include "core/game/game_checks.h"
#include "core/game/game_folder.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

// Where a dictionary is looked for: woerterbuch/ beside the program (the Windows zip brings
// one), then the system's folders.
std::vector<std::filesystem::path> dictionaryFolders(const std::filesystem::path& programFolder);
// The affix file of the first folder that holds the dictionary's two files; none for a name
// that is no dictionary's name (a path, say).
std::optional<std::filesystem::path> findDictionary(const std::string& name,
                                                    const std::vector<std::filesystem::path>& folders);

// A Hunspell dictionary ("de_DE": de_DE.aff and de_DE.dic), spoken to in UTF-16 and
// converted to the dictionary's own encoding. Used by one thread at a time.
class Speller {
public:
    // The first folder that holds both files; throws Error (German) when none does, or when
    // the dictionary's encoding is one we cannot convert to.
    Speller(const std::string& name, const std::vector<std::filesystem::path>& folders);
    ~Speller();
    Speller(const Speller&) = delete;
    Speller& operator=(const Speller&) = delete;

    bool check(std::u16string_view word);
    std::vector<std::u16string> suggest(std::u16string_view word, size_t most = 3);
    // Known from now on, for this session; the word list keeps it for longer.
    void add(std::u16string_view word);

    const std::filesystem::path& affixFile() const { return m_affixFile; }
    const std::string& encoding() const;

private:
    struct Dictionary;
    std::unique_ptr<Dictionary> m;
    std::filesystem::path m_affixFile;
};

// The game's own words (names of places, spells, people), one UTF-8 word a line, kept in the
// settings folder as woerterlisten/woerter-<hash of the game folder>.txt: never in the game.
std::filesystem::path wordListPath(const std::filesystem::path& settingsFolder, const std::filesystem::path& gameFolder);
// The words of a list; none when it is missing.
std::vector<std::u16string> readWordList(const std::filesystem::path& list);
// Every word of the list into the speller; how many.
size_t loadWordList(const std::filesystem::path& list, Speller& speller);
// Appends a word (once), the file replaced whole; throws Error (German) when it cannot be
// written, or when it would lie inside the game folder.
void addToWordList(const std::filesystem::path& list, const std::filesystem::path& gameFolder, std::u16string_view word);

// The spelling check of a game's lines; remembers the verdict of every distinct word, as a
// game repeats its words a lot. Suggestions cost about 20 ms a wrong word with de_DE, a
// check some microseconds: without them a game full of own names is checked at once.
class SpellingCheck {
public:
    SpellingCheck(Speller& speller, const std::map<int, std::u16string>& heroNames, bool suggestions = true);

    // The words of a line that the dictionary does not know, for underlining.
    std::vector<SpellingWord> wrongWords(std::u16string_view line);
    // Findings of kind "rechtschreibung", one per unknown word and line, in line order.
    void checkMessage(const GameMessage& message, std::vector<Finding>& out);
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
