#include "spelling/game_speller.h"

#include "spelling/word_list.h"

#include <exception>

namespace zeilwerk {

GameSpeller openGameSpeller(const std::string& dictionary, const std::vector<std::filesystem::path>& folders,
                            const std::filesystem::path& wordList) {
    GameSpeller out;
    out.missing = !findDictionary(dictionary, folders);
    // Opened even when missing: the speller's own error names where it was looked for.
    try {
        out.speller = std::make_unique<Speller>(dictionary, folders);
        if (!wordList.empty())
            loadWordList(wordList, *out.speller);
    } catch (const std::exception& e) {
        out.speller.reset();
        out.problem = e.what();
    }
    return out;
}

}  // namespace zeilwerk
