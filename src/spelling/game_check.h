#pragma once

#include "core/game/game_checks.h"
#include "core/game/game_folder.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zeilwerk {

// What a check of a whole game takes: the heroes as the checks count them, the checks'
// settings, the dictionary with the game's word list (none opened: no spelling), and the
// game's names, which its spelling takes as its own words.
struct GameCheck {
    std::map<int, std::u16string> heroes;
    CheckSettings settings;
    std::string dictionary;
    std::vector<std::filesystem::path> dictionaryFolders;
    std::filesystem::path wordList;
    std::vector<std::u16string> names;
    std::map<int, std::u16string> mapNames;
};

// What the spelling hands over besides its findings, each once the findings are all out: the
// game's own words with how often each stands, then the reasons of the reported words with
// the dictionary's suggestions (those near a word of the game have theirs already).
struct SpellingOutput {
    std::function<void(std::vector<std::pair<std::u16string, int>>&& words)> vocabulary;
    std::function<void(std::vector<std::pair<std::u16string, std::string>>&& reasons)> reasons;
};

// Every message of the lists checked in order, with its spelling; the findings handed over
// for each batch of batchSize messages, with how many are checked so far, and for the rest at
// the end. Looks at stop before every message and every suggestion and returns false when it
// was set; opening the dictionary first cannot be interrupted. The dictionary's suggestions
// are asked on two threads, each with a dictionary of its own.
bool checkWholeGame(const GameCheck& check, const std::vector<std::shared_ptr<const std::vector<GameMessage>>>& lists,
                    int batchSize, const std::atomic<bool>& stop,
                    const std::function<void(std::vector<Finding>&& findings, int checked)>& batch,
                    const SpellingOutput& spelling = {});

}  // namespace zeilwerk
