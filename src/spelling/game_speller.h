#pragma once

#include "spelling/speller.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace zeilwerk {

// A game's dictionary with the game's own words taken in, or the German reason why there is
// none; each caller decides how to tell it.
struct GameSpeller {
    std::unique_ptr<Speller> speller;
    bool missing = false;  // no dictionary of that name at all, which the option field shows in red
    std::string problem;
};

// The dictionary from the first of the folders that holds it, and the words of the word list
// unless its path is empty.
GameSpeller openGameSpeller(const std::string& dictionary, const std::vector<std::filesystem::path>& folders,
                            const std::filesystem::path& wordList);

}  // namespace zeilwerk
