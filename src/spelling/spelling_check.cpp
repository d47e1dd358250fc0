#include "spelling/spelling_check.h"

#include "core/platform/text.h"
#include "spelling/speller.h"

#include <algorithm>
#include <array>

namespace zeilwerk {
namespace {

// Our list of interjections, built into the program from interjections.txt.
constexpr const char kInterjectionText[] =
#include "interjections.inc"
    ;

// Where German compounds join their parts: "Zauber|punkte", "Königs|krone", "Helden|mut".
constexpr std::array<std::u16string_view, 7> kLinks = {u"", u"s", u"es", u"n", u"en", u"e", u"er"};
// Endings a name takes: "Ortwins", "Ortwin's", "Agnes'", "Maren", "Hannes'ns".
constexpr std::array<std::u16string_view, 8> kNameEndings = {u"'s", u"’s", u"ns", u"en", u"s", u"n", u"'", u"’"};
// The letters a sound is drawn out with.
constexpr std::u16string_view kHeldLetters = u"aeiouyäöühmnrfsz";
constexpr std::u16string_view kVowels = u"aeiouyäöü";
// A compound's parts are this long at least: shorter ones make a typo look like a compound.
constexpr size_t kShortestPart = 3;

std::string quoted(std::u16string_view word) {
    return "„" + toUtf8(word) + "“";
}

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0x3000 || c == 0xA0;
}

bool isHyphen(char16_t c) {
    return c == u'-' || c == 0x2010 || c == 0xAD;
}

bool startsSmall(std::u16string_view word) {
    return !word.empty() && upperLetter(word[0]) != word[0];
}

bool startsCapital(std::u16string_view word) {
    return !word.empty() && lowerLetter(word[0]) != word[0];
}

std::u16string capitalised(std::u16string_view word) {
    std::u16string out(word);
    if (!out.empty())
        out[0] = upperLetter(out[0]);
    return out;
}

std::uint64_t hashOf(std::u16string_view text) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char16_t c : text)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

// One letter dropped, added or changed, or two neighbours swapped; not the same word.
bool oneEditApart(std::u16string_view a, std::u16string_view b) {
    if (a.size() < b.size())
        std::swap(a, b);
    size_t i = 0;
    while (i < b.size() && a[i] == b[i])
        ++i;
    if (a.size() == b.size() + 1)
        return a.substr(i + 1) == b.substr(i);
    if (a.size() != b.size() || i == a.size())
        return false;
    if (a.substr(i + 1) == b.substr(i + 1))
        return true;
    return i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] && a.substr(i + 2) == b.substr(i + 2);
}

// A word hyphenated at the line's end: only spaces follow its hyphen.
bool hyphenAfter(std::u16string_view line, const SpellingWord& w) {
    size_t i = w.at + w.length;
    if (i >= line.size() || !isHyphen(line[i]))
        return false;
    for (++i; i < line.size(); ++i)
        if (!isSpace(line[i]))
            return false;
    return true;
}

bool startsLine(std::u16string_view line, const SpellingWord& w) {
    for (size_t i = 0; i < w.at; ++i)
        if (!isSpace(line[i]))
            return false;
    return true;
}

std::u16string_view wordIn(std::u16string_view line, const SpellingWord& w) {
    return line.substr(w.at, w.length);
}

bool samePage(const MessagePlace& a, const MessagePlace& b) {
    return a.kind == b.kind && a.source == b.source && a.event == b.event && a.page == b.page;
}

bool isInterjection(const std::u16string& word);

}  // namespace

const std::vector<std::u16string>& interjections() {
    static const std::vector<std::u16string> words = [] {
        std::vector<std::u16string> out;
        const std::string_view text(kInterjectionText);
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            const std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line[0] != '#')
                out.push_back(fromUtf8(line));
            start = end + 1;
        }
        return out;
    }();
    return words;
}

namespace {

bool isInterjection(const std::u16string& word) {
    static const std::unordered_set<std::u16string> list(interjections().begin(), interjections().end());
    return list.count(wordKey(word)) > 0;
}

}  // namespace

SpellingCheck::SpellingCheck(Speller& speller, const std::map<int, std::u16string>& heroNames,
                             std::shared_ptr<const GameWords> game, bool askDictionary)
    : m_speller(speller), m_askDictionary(askDictionary), m_heroWords(nameWords(heroNames)), m_game(std::move(game)) {
    for (const std::u16string& word : interjections())
        m_speller.add(word);
}

bool SpellingCheck::nameForm(std::u16string_view word) const {
    const auto isName = [&](std::u16string_view w) {
        const std::u16string s(w);
        return m_heroWords.count(s) || (m_game && m_game->isName(s));
    };
    if (isName(word))
        return true;
    for (const std::u16string_view ending : kNameEndings)
        if (word.size() > ending.size() + 1 && word.ends_with(ending) && isName(word.substr(0, word.size() - ending.size())))
            return true;
    return false;
}

// A part of a compound: known in the dictionary as a word of its own, or a name.
bool SpellingCheck::part(std::u16string_view word) {
    std::u16string asWord = capitalised(word);
    if (const auto found = m_parts.find(asWord); found != m_parts.end())
        return found->second;
    const bool right = m_speller.check(asWord) || nameForm(word) || nameForm(asWord);
    m_parts.emplace(std::move(asWord), right);
    return right;
}

// Two or three known parts, each at least three letters, with a linking letter between.
bool SpellingCheck::compound(std::u16string_view word, int parts) {
    if (word.size() < 2 * kShortestPart)
        return false;
    for (size_t i = kShortestPart; i + kShortestPart <= word.size(); ++i) {
        if (!part(word.substr(0, i)))
            continue;
        const std::u16string_view after = word.substr(i);
        for (const std::u16string_view link : kLinks) {
            if (!after.starts_with(link) || after.size() - link.size() < kShortestPart)
                continue;
            const std::u16string rest = capitalised(after.substr(link.size()));
            if (part(rest) || (parts > 2 && compound(rest, parts - 1)))
                return true;
        }
    }
    return false;
}

bool SpellingCheck::knownAsIs(std::u16string_view word) {
    if (m_speller.check(word) || nameForm(word))
        return true;
    // Dictionaries know no "geht's" or "Ortwin's": right when its parts are, the "s" of a
    // left-out "es" counting as one.
    if (std::any_of(word.begin(), word.end(), isApostrophe)) {
        for (size_t start = 0; start <= word.size();) {
            size_t end = start;
            while (end < word.size() && !isApostrophe(word[end]))
                ++end;
            const std::u16string_view piece = word.substr(start, end - start);
            if (piece != u"s" && !known(piece))
                return false;
            start = end + 1;
        }
        return true;
    }
    // A sound drawn out, "Neiiin", "Hmmmm", "Aaaah", is right when its short form is: a vowel
    // held three times or more, a consonant four times, or three when the short form is a
    // sound of our list ("Grrr"); "Verrriss" stays a typo.
    std::u16string once, twice;
    bool held = false, consonantThrice = false;
    for (size_t i = 0; i < word.size();) {
        size_t j = i + 1;
        while (j < word.size() && lowerLetter(word[j]) == lowerLetter(word[i]))
            ++j;
        once += word[i];
        twice += word.substr(i, std::min<size_t>(j - i, 2));
        const char16_t c = lowerLetter(word[i]);
        const bool vowel = kVowels.find(c) != std::u16string_view::npos;
        if (kHeldLetters.find(c) != std::u16string_view::npos && j - i >= 3) {
            held = held || vowel || j - i >= 4;
            consonantThrice = consonantThrice || (!vowel && j - i == 3);
        }
        i = j;
    }
    if (held && (known(once) || known(twice)))
        return true;
    if (consonantThrice && (isInterjection(once) || isInterjection(twice)))
        return true;
    // "Wirtin" of "Wirt", and "Frevler", "Frevlerin" of "Frevel": the dictionary lacks many
    // a noun for a person made of a known one.
    if (startsCapital(word)) {
        std::u16string_view base = word;
        for (const std::u16string_view ending : {std::u16string_view(u"innen"), std::u16string_view(u"in")})
            if (base.size() >= ending.size() + kShortestPart && base.ends_with(ending)) {
                base.remove_suffix(ending.size());
                if (m_speller.check(base) || nameForm(base))
                    return true;
                break;
            }
        if (base.size() >= 5 && base.ends_with(u"ler") &&
            m_speller.check(std::u16string(base.substr(0, base.size() - 3)) + u"el"))
            return true;
    }
    if (!compound(word, 3))
        return false;
    // A compound that is one slip from a word of the dictionary is that word mistyped:
    // "Gehhirn", "Porttal", "bugelaufen".
    if (std::optional<std::u16string> meant = slipOf(word)) {
        m_slips.emplace(std::u16string(word), std::move(*meant));
        return false;
    }
    return true;
}

// A letter of a double dropped, two neighbours swapped, or the first letter another: the
// slips a word that splits into known parts by chance most likely is.
std::optional<std::u16string> SpellingCheck::slipOf(std::u16string_view word) {
    std::u16string t;
    for (size_t i = 0; i + 1 < word.size(); ++i) {
        if (word[i] == word[i + 1]) {
            t.assign(word);
            t.erase(i, 1);
            if (m_speller.check(t))
                return t;
        }
        t.assign(word);
        std::swap(t[i], t[i + 1]);
        if (t != word && m_speller.check(t))
            return t;
    }
    for (const char16_t c : std::u16string_view(u"abcdefghijklmnopqrstuvwxyzäöü")) {
        t.assign(word);
        t[0] = startsCapital(word) ? upperLetter(c) : c;
        if (t != word && m_speller.check(t))
            return t;
    }
    return std::nullopt;
}

bool SpellingCheck::known(std::u16string_view word) {
    const std::u16string key(word);
    if (const auto found = m_known.find(key); found != m_known.end())
        return found->second;
    const bool right = knownAsIs(word);
    m_known[key] = right;
    return right;
}

SpellingCheck::Verdict& SpellingCheck::verdict(std::u16string_view word) {
    auto found = m_verdicts.find(std::u16string(word));
    if (found == m_verdicts.end()) {
        Verdict v;
        v.kind = known(word) ? Kind::Known : m_game && m_game->frequent(word) ? Kind::GameWord : Kind::Wrong;
        found = m_verdicts.emplace(std::u16string(word), std::move(v)).first;
    }
    return found->second;
}

SpellingCheck::Kind SpellingCheck::kindOf(std::u16string_view word) {
    return verdict(word).kind;
}

std::vector<CheckedWord> SpellingCheck::checkedWords(std::u16string_view line, std::u16string_view before,
                                                     std::u16string_view after) {
    std::vector<CheckedWord> out;
    for (const SpellingWord& w : spellingWords(line, m_heroWords))
        out.push_back({w, std::u16string(wordIn(line, w)), false});
    if (out.empty())
        return out;
    // "Aufent-" and "halt" are checked as "Aufenthalt"; a capital after the hyphen keeps it,
    // "Ortwin-" and "Statue", and each half is checked as it is.
    if (!before.empty() && startsLine(line, out.front().at) && startsSmall(out.front().word)) {
        const std::vector<SpellingWord> previous = spellingWords(before, m_heroWords);
        if (!previous.empty() && hyphenAfter(before, previous.back())) {
            out.front().word = std::u16string(wordIn(before, previous.back())) + out.front().word;
            out.front().tail = true;
        }
    }
    if (!after.empty() && hyphenAfter(line, out.back().at)) {
        const std::vector<SpellingWord> next = spellingWords(after, m_heroWords);
        if (!next.empty() && startsLine(after, next.front()) && startsSmall(wordIn(after, next.front())))
            out.back().word += wordIn(after, next.front());
    }
    return out;
}

std::vector<SpellingWord> SpellingCheck::wrongWords(std::u16string_view line, std::u16string_view before,
                                                    std::u16string_view after) {
    std::vector<SpellingWord> wrong;
    for (const CheckedWord& w : checkedWords(line, before, after))
        if (kindOf(w.word) == Kind::Wrong)
            wrong.push_back(w.at);
    return wrong;
}

void SpellingCheck::checkMessage(const GameMessage& message, std::vector<Finding>& out, const GameMessage* before,
                                 const GameMessage* after) {
    const size_t n = message.lines.size();
    const bool joinsBefore = before && !before->lines.empty() && samePage(before->place, message.place);
    const bool joinsAfter = after && !after->lines.empty() && samePage(after->place, message.place);
    for (size_t i = 0; i < n; ++i) {
        const std::u16string_view previous = i ? std::u16string_view(message.lines[i - 1])
                                               : joinsBefore ? std::u16string_view(before->lines.back())
                                                             : std::u16string_view();
        const std::u16string_view next = i + 1 < n ? std::u16string_view(message.lines[i + 1])
                                                   : joinsAfter ? std::u16string_view(after->lines.front())
                                                                : std::u16string_view();
        std::vector<std::u16string> told;
        for (const CheckedWord& w : checkedWords(message.lines[i], previous, next)) {
            if (w.tail || kindOf(w.word) != Kind::Wrong || std::find(told.begin(), told.end(), w.word) != told.end())
                continue;
            told.push_back(w.word);
            Finding f{message.place, static_cast<int>(i) + 1, FindingKind::Spelling, reason(w.word), w.word, {}, 0};
            if (const Verdict& v = verdict(w.word); v.meant) {
                f.meant = v.meant->word;
                f.nearCount = v.meant->count;
            }
            out.push_back(std::move(f));
        }
    }
}

void SpellingCheck::buildNearIndex() {
    m_indexed = true;
    if (!m_game)
        return;
    // The game's known words: its names, its own frequent words, the dictionary's it uses.
    for (const auto& [key, use] : m_game->uses())
        if (m_game->frequent(key) || m_speller.check(capitalised(key)) || nameForm(capitalised(key)))
            m_targets.push_back(key);
    for (const std::u16string& name : m_game->names())
        if (!m_game->use(name))
            m_targets.push_back(wordKey(name));
    for (std::uint32_t id = 0; id < m_targets.size(); ++id) {
        const std::u16string& t = m_targets[id];
        m_index.emplace_back(hashOf(t), id);
        std::u16string shorter;
        for (size_t j = 0; j < t.size(); ++j) {
            shorter.assign(t, 0, j);
            shorter.append(t, j + 1);
            m_index.emplace_back(hashOf(shorter), id);
        }
    }
    std::sort(m_index.begin(), m_index.end());
}

std::optional<SpellingCheck::Near> SpellingCheck::nearWord(std::u16string_view word) {
    std::vector<std::u16string> found = m_game ? suggestions(word, false, 1) : std::vector<std::u16string>();
    if (found.empty()) {
        if (const auto slip = m_slips.find(std::u16string(word)); slip != m_slips.end())
            found.push_back(slip->second);
        else
            return std::nullopt;
    }
    if (!m_game)
        return Near{found.front(), 0};
    const WordUse* use = m_game->use(found.front());
    return Near{found.front(), use ? use->count : 0};
}

std::vector<std::u16string> SpellingCheck::suggestions(std::u16string_view word, bool askDictionary, size_t most) {
    if (!m_indexed)
        buildNearIndex();
    if (!m_game)
        return askDictionary ? m_speller.suggest(word, most) : std::vector<std::u16string>();
    // Every word one letter away shares the word itself or one of its one-letter-shorter
    // forms with the target's: the index finds them, the comparison then proves each.
    const std::u16string key = wordKey(word);
    std::vector<std::uint32_t> ids;
    const auto look = [&](std::u16string_view form) {
        const std::uint64_t h = hashOf(form);
        auto at = std::lower_bound(m_index.begin(), m_index.end(), std::make_pair(h, std::uint32_t(0)));
        for (; at != m_index.end() && at->first == h; ++at)
            if (std::find(ids.begin(), ids.end(), at->second) == ids.end() && oneEditApart(key, m_targets[at->second]))
                ids.push_back(at->second);
    };
    look(key);
    std::u16string shorter;
    for (size_t j = 0; j < key.size(); ++j) {
        shorter.assign(key, 0, j);
        shorter.append(key, j + 1);
        look(shorter);
    }
    std::vector<std::pair<int, std::u16string>> ranked;
    for (const std::uint32_t id : ids) {
        const WordUse* use = m_game->use(m_targets[id]);
        std::u16string shown = m_targets[id];
        // As the word was written: "Gerwnia" → "Gerwina"; a noun keeps its capital anyway.
        if (startsCapital(word) || !m_speller.check(shown))
            shown = capitalised(shown);
        ranked.emplace_back(use ? -use->count : 0, std::move(shown));
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::u16string> out;
    for (auto& [count, shown] : ranked)
        if (out.size() < most)
            out.push_back(std::move(shown));
    if (out.empty() && askDictionary)
        out = m_speller.suggest(word, most);
    return out;
}

const std::string& SpellingCheck::reason(std::u16string_view word) {
    Verdict& v = verdict(word);
    if (v.described)
        return v.reason;
    if (!v.nearLooked) {
        v.meant = nearWord(word);
        v.nearLooked = true;
    }
    if (v.meant) {
        v.reason = quoted(word) + ": meintest du " + toUtf8(v.meant->word) +
                   (v.meant->count ? " (" + std::to_string(v.meant->count) + " ×)" : std::string()) + "?";
    } else {
        if (m_askDictionary && !v.suggested) {
            v.suggestions = m_speller.suggest(word);
            v.suggested = true;
        }
        v.reason = quoted(word) + " steht nicht im Wörterbuch";
        for (size_t k = 0; k < v.suggestions.size(); ++k)
            v.reason += (k ? ", " : v.suggestions.size() > 1 ? " (Vorschläge: " : " (Vorschlag: ") + toUtf8(v.suggestions[k]);
        v.reason += v.suggestions.empty() ? "." : ")";
    }
    v.described = true;
    return v.reason;
}

void SpellingCheck::setSuggestions(std::u16string_view word, const std::vector<std::u16string>& suggestions) {
    Verdict& v = verdict(word);
    v.suggestions = suggestions;
    v.suggested = true;
    v.described = false;
}

void SpellingCheck::add(std::u16string_view word) {
    m_speller.add(word);
    m_known[std::u16string(word)] = true;
    m_verdicts[std::u16string(word)] = Verdict{};
}

std::vector<std::pair<std::u16string, int>> SpellingCheck::gameVocabulary() const {
    std::map<std::u16string, std::pair<std::u16string, int>> byKey;
    for (const auto& [word, v] : m_verdicts)
        if (v.kind == Kind::GameWord) {
            const WordUse* use = m_game->use(word);
            byKey.emplace(wordKey(word), std::make_pair(word, use ? use->count : 0));
        }
    std::vector<std::pair<std::u16string, int>> out;
    for (auto& [key, entry] : byKey)
        out.push_back(std::move(entry));
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return out;
}

std::vector<Finding> checkSpelling(const GameMessages& game, Speller& speller, bool suggestions) {
    auto words = std::make_shared<GameWords>(collectGameWords(game.gameNames, game.heroNames, game.mapNames, {&game.messages}));
    SpellingCheck check(speller, game.heroNames, words);
    std::vector<Finding> findings;
    const std::vector<GameMessage>& all = game.messages;
    for (size_t i = 0; i < all.size(); ++i)
        check.checkMessage(all[i], findings, i ? &all[i - 1] : nullptr, i + 1 < all.size() ? &all[i + 1] : nullptr);
    if (!suggestions)
        return findings;
    for (Finding& f : findings)
        if (f.meant.empty()) {
            check.setSuggestions(f.word, check.suggestions(f.word, true));
            f.reason = check.reason(f.word);
        }
    return findings;
}

}  // namespace zeilwerk
