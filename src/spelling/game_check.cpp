#include "spelling/game_check.h"

#include "core/platform/code_page.h"
#include "spelling/game_speller.h"
#include "spelling/spelling_check.h"

namespace zeilwerk {

bool checkWholeGame(const GameCheck& check, const std::vector<std::shared_ptr<const std::vector<GameMessage>>>& lists,
                    int batchSize, const std::atomic<bool>& stop,
                    const std::function<void(std::vector<Finding>&& findings, int checked)>& batch) {
    // Nothing said when it cannot be opened: whoever named the dictionary says so.
    const GameSpeller opened = openGameSpeller(check.dictionary, check.dictionaryFolders, check.wordList);
    std::unique_ptr<SpellingCheck> spelling;
    if (opened.speller)
        spelling = std::make_unique<SpellingCheck>(*opened.speller, check.heroes, false);
    std::vector<Finding> found;
    int checked = 0;
    for (const auto& list : lists)
        for (const GameMessage& m : *list) {
            if (stop.load())
                return false;
            checkMessage(m, check.heroes, CodePage::system(), check.settings, found);
            if (spelling)
                spelling->checkMessage(m, found);
            if (++checked % batchSize)
                continue;
            batch(std::move(found), checked);
            found.clear();
        }
    batch(std::move(found), checked);
    return true;
}

}  // namespace zeilwerk
