#pragma once

#include "core/game/game_checks.h"
#include "core/game/game_folder.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zeilwerk {

// What a check of a whole game takes: the heroes as the checks count them, the checks'
// settings, and the dictionary with the game's word list (none opened: no spelling).
struct GameCheck {
    std::map<int, std::u16string> heroes;
    CheckSettings settings;
    std::string dictionary;
    std::vector<std::filesystem::path> dictionaryFolders;
    std::filesystem::path wordList;
};

// Every message of the lists checked in order, with its spelling; the findings handed over
// for each batch of batchSize messages, with how many are checked so far, and for the rest at
// the end. Looks at stop before every message (each takes microseconds) and returns false when
// it was set; opening the dictionary first cannot be interrupted. Suggestions are left out:
// each costs a good part of a second.
bool checkWholeGame(const GameCheck& check, const std::vector<std::shared_ptr<const std::vector<GameMessage>>>& lists,
                    int batchSize, const std::atomic<bool>& stop,
                    const std::function<void(std::vector<Finding>&& findings, int checked)>& batch);

}  // namespace zeilwerk
