#include "spelling/game_check.h"

#include "core/platform/code_page.h"
#include "spelling/game_speller.h"
#include "spelling/game_words.h"
#include "spelling/spelling_check.h"

#include <set>
#include <thread>

namespace zeilwerk {
namespace {

// The dictionary's suggestions for each word, on this thread and on a second one with a
// dictionary of its own; the words are taken one by one from a shared count.
std::vector<std::vector<std::u16string>> suggestOnTwoThreads(const GameCheck& check, SpellingCheck& spelling,
                                                            const std::vector<std::u16string>& words,
                                                            const std::atomic<bool>& stop) {
    std::vector<std::vector<std::u16string>> out(words.size());
    std::atomic<size_t> next(0);
    const auto work = [&](const std::function<std::vector<std::u16string>(const std::u16string&)>& suggest) {
        for (size_t i; !stop.load() && (i = next.fetch_add(1)) < words.size();)
            out[i] = suggest(words[i]);
    };
    std::thread second;
    if (words.size() > 1)
        second = std::thread([&] {
            const GameSpeller opened = openGameSpeller(check.dictionary, check.dictionaryFolders, check.wordList);
            if (!opened.speller)
                return;
            for (const std::u16string& word : interjections())
                opened.speller->add(word);
            work([&](const std::u16string& w) { return opened.speller->suggest(w, 3); });
        });
    work([&](const std::u16string& w) { return spelling.suggestions(w, true); });
    if (second.joinable())
        second.join();
    return out;
}

}  // namespace

bool checkWholeGame(const GameCheck& check, const std::vector<std::shared_ptr<const std::vector<GameMessage>>>& lists,
                    int batchSize, const std::atomic<bool>& stop,
                    const std::function<void(std::vector<Finding>&& findings, int checked)>& batch,
                    const SpellingOutput& output) {
    // Nothing said when it cannot be opened: whoever named the dictionary says so.
    const GameSpeller opened = openGameSpeller(check.dictionary, check.dictionaryFolders, check.wordList);
    std::unique_ptr<SpellingCheck> spelling;
    if (opened.speller) {
        std::vector<const std::vector<GameMessage>*> all;
        for (const auto& list : lists)
            all.push_back(list.get());
        auto words = std::make_shared<GameWords>(collectGameWords(check.names, check.heroes, check.mapNames, all));
        spelling = std::make_unique<SpellingCheck>(*opened.speller, check.heroes, std::move(words));
    }
    std::vector<Finding> found;
    std::set<std::u16string> wrong;  // reported words no word of the game is near
    int checked = 0;
    for (const auto& list : lists)
        for (size_t i = 0; i < list->size(); ++i) {
            if (stop.load())
                return false;
            const GameMessage& m = (*list)[i];
            checkMessage(m, check.heroes, CodePage::system(), check.settings, found);
            if (spelling) {
                const size_t first = found.size();
                spelling->checkMessage(m, found, i ? &(*list)[i - 1] : nullptr,
                                       i + 1 < list->size() ? &(*list)[i + 1] : nullptr);
                for (size_t k = first; k < found.size(); ++k)
                    if (found[k].meant.empty())
                        wrong.insert(found[k].word);
            }
            if (++checked % batchSize)
                continue;
            batch(std::move(found), checked);
            found.clear();
        }
    batch(std::move(found), checked);
    if (!spelling)
        return true;
    if (output.vocabulary)
        output.vocabulary(spelling->gameVocabulary());
    if (!output.reasons)
        return true;
    const std::vector<std::u16string> words(wrong.begin(), wrong.end());
    const std::vector<std::vector<std::u16string>> suggested = suggestOnTwoThreads(check, *spelling, words, stop);
    if (stop.load())
        return false;
    std::vector<std::pair<std::u16string, std::string>> reasons;
    for (size_t i = 0; i < words.size(); ++i) {
        spelling->setSuggestions(words[i], suggested[i]);
        reasons.emplace_back(words[i], spelling->reason(words[i]));
    }
    output.reasons(std::move(reasons));
    return true;
}

}  // namespace zeilwerk
