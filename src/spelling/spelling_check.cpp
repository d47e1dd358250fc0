#include "spelling/spelling_check.h"

#include "core/platform/text.h"
#include "spelling/speller.h"

#include <algorithm>

namespace zeilwerk {
namespace {

std::string quoted(std::u16string_view word) {
    return "„" + toUtf8(word) + "“";
}

}  // namespace

SpellingCheck::SpellingCheck(Speller& speller, const std::map<int, std::u16string>& heroNames, bool suggestions)
    : m_speller(speller), m_suggestions(suggestions), m_names(nameWords(heroNames)) {}

// Dictionaries know no "geht's" or "hab'n": a word with apostrophes is right when its parts
// are, the "s" of a left-out "es" counting as one.
bool SpellingCheck::known(std::u16string_view word) {
    if (m_speller.check(word))
        return true;
    bool parts = false;
    for (size_t start = 0; start < word.size();) {
        size_t end = start;
        while (end < word.size() && !isApostrophe(word[end]))
            ++end;
        if (end == word.size() && !parts)
            return false;
        const std::u16string_view part = word.substr(start, end - start);
        if (part != u"s" && !m_speller.check(part))
            return false;
        parts = true;
        start = end + 1;
    }
    return true;
}

SpellingCheck::Verdict& SpellingCheck::verdict(std::u16string_view word) {
    auto found = m_verdicts.find(std::u16string(word));
    if (found == m_verdicts.end())
        found = m_verdicts.emplace(std::u16string(word), Verdict{known(word), false, {}}).first;
    return found->second;
}

std::vector<SpellingWord> SpellingCheck::wrongWords(std::u16string_view line) {
    std::vector<SpellingWord> wrong;
    for (const SpellingWord& w : spellingWords(line, m_names))
        if (!verdict(line.substr(w.at, w.length)).known)
            wrong.push_back(w);
    return wrong;
}

void SpellingCheck::checkMessage(const GameMessage& message, std::vector<Finding>& out) {
    for (size_t i = 0; i < message.lines.size(); ++i) {
        const std::u16string& line = message.lines[i];
        std::vector<std::u16string_view> told;
        for (const SpellingWord& w : wrongWords(line)) {
            const std::u16string_view word = std::u16string_view(line).substr(w.at, w.length);
            if (std::find(told.begin(), told.end(), word) != told.end())
                continue;
            told.push_back(word);
            out.push_back({message.place, static_cast<int>(i) + 1, FindingKind::Spelling, reason(word), std::u16string(word)});
        }
    }
}

// Suggestions cost far more than a check: asked once per word, and only for wrong ones.
const std::string& SpellingCheck::reason(std::u16string_view word) {
    Verdict& v = verdict(word);
    if (v.suggested)
        return v.reason;
    const std::vector<std::u16string> suggestions = m_suggestions ? m_speller.suggest(word) : std::vector<std::u16string>();
    v.reason = quoted(word) + " steht nicht im Wörterbuch";
    for (size_t k = 0; k < suggestions.size(); ++k)
        v.reason += (k ? ", " : suggestions.size() > 1 ? " (Vorschläge: " : " (Vorschlag: ") + toUtf8(suggestions[k]);
    v.reason += suggestions.empty() ? "." : ")";
    v.suggested = true;
    return v.reason;
}

void SpellingCheck::add(std::u16string_view word) {
    m_speller.add(word);
    m_verdicts[std::u16string(word)] = Verdict{true, false, {}};
}

std::vector<Finding> checkSpelling(const GameMessages& game, Speller& speller, bool suggestions) {
    SpellingCheck check(speller, game.heroNames, suggestions);
    std::vector<Finding> findings;
    for (const GameMessage& message : game.messages)
        check.checkMessage(message, findings);
    return findings;
}

}  // namespace zeilwerk
