// A generated German game of 600 maps and 48,000 messages checked for its spelling as a maker
// would: its text mixes the dictionary's words with invented names and their endings, speakers,
// compounds, hyphenated line ends, drawn-out sounds, a dialect of its own, and a few hundred
// injected typos, whose finding gives the check's precision and recall.
#include "core/game/game_folder.h"
#include "core/platform/code_page.h"
#include "core/platform/text.h"
#include "spelling/game_check.h"
#include "spelling/game_words.h"
#include "spelling/speller.h"
#include "spelling/spelling_check.h"

#include "lcf_fixture.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace zeilwerk;
using namespace zeilwerk::test;

constexpr int kMaps = 600, kEvents = 10, kPages = 2, kMessagesPerPage = 4;
constexpr int kTypos = 300;

double maxRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

bool plainWord(const std::u16string& w) {
    if (w.size() < 4 || w.size() > 12)
        return false;
    return std::all_of(w.begin(), w.end(), [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'ä' || c == u'ö' || c == u'ü' ||
               c == u'ß' || c == u'Ä' || c == u'Ö' || c == u'Ü';
    });
}

// Every 20th plain stem of Debian's German dictionary that is a word of its own: about 2,000.
std::vector<std::u16string> dictionaryWords(Speller& speller) {
    std::ifstream in("/usr/share/hunspell/de_DE.dic");
    std::vector<std::u16string> out;
    std::string line;
    std::getline(in, line);
    for (int n = 0; std::getline(in, line); ++n) {
        const std::u16string word = fromUtf8(line.substr(0, line.find('/')));
        if (n % 20 == 0 && plainWord(word) && speller.check(word))
            out.push_back(word);
    }
    return out;
}

struct Generated {
    std::filesystem::path folder;
    std::set<std::u16string> typos;
};

// Words of syllables the dictionary does not know: the game's names and its dialect.
std::vector<std::u16string> invented(std::mt19937& random, Speller& speller, int count, bool capital) {
    static const char16_t* const syllables[] = {u"or", u"twin", u"ger", u"wi", u"na", u"mal", u"dor", u"thal", u"ric",
                                                u"ys", u"ane", u"brun", u"kor", u"vel", u"ul", u"rik", u"sel",
                                                u"dar", u"gor", u"fen", u"lu", u"mir", u"ka", u"tho", u"zan"};
    std::set<std::u16string> seen;
    std::vector<std::u16string> out;
    while (static_cast<int>(out.size()) < count) {
        std::u16string w = std::u16string(syllables[random() % 25]) + syllables[random() % 25] +
                           (random() % 3 ? u"" : syllables[random() % 25]);
        if (capital)
            w[0] = upperLetter(w[0]);
        if (w.size() >= 5 && !speller.check(w) && seen.insert(w).second)
            out.push_back(w);
    }
    return out;
}

// One letter dropped, doubled, two swapped, or the first one changed: never a word it knows.
std::u16string typoOf(std::mt19937& random, const std::u16string& word, Speller& speller) {
    for (;;) {
        std::u16string t = word;
        const size_t at = 1 + random() % (t.size() - 2);
        switch (random() % 4) {
        case 0: t.erase(at, 1); break;
        case 1: t.insert(at, 1, t[at]); break;
        case 2: std::swap(t[at], t[at + 1]); break;
        default: t[0] = t[0] == u'B' ? u'G' : t[0] == u'b' ? u'g' : t[0] >= u'a' ? u'b' : u'B';
        }
        if (t != word && !speller.check(t))
            return t;
    }
}

const Generated& spellingGame() {
    static const Generated game = [] {
        Generated g;
        g.folder = std::filesystem::temp_directory_path() / "zeilwerk-spelling-bench";
        std::filesystem::remove_all(g.folder);
        std::filesystem::create_directories(g.folder);
        std::mt19937 random(4711);
        Speller speller("de_DE", dictionaryFolders("."));
        const std::vector<std::u16string> words = dictionaryWords(speller);
        const std::vector<std::u16string> names = invented(random, speller, 40, true);
        const std::vector<std::u16string> dialect = invented(random, speller, 30, false);
        static const char16_t* const sounds[] = {u"Hmmm", u"Grrr", u"Aaaah", u"Neiiin", u"Na", u"Tja", u"Äh", u"Pfff", u"Naja"};
        std::vector<std::u16string> nouns;
        for (const std::u16string& w : words)
            if (w[0] >= u'A' && w[0] <= u'Z' && w.size() <= 8)
                nouns.push_back(w);
        // A game reuses its compounds as it does its other words: 400 of them.
        std::vector<std::u16string> compounds;
        for (int i = 0; i < 400; ++i) {
            std::u16string second = nouns[random() % nouns.size()];
            second[0] = lowerLetter(second[0]);
            compounds.push_back(nouns[random() % nouns.size()] + second);
        }
        const auto pick = [&](const auto& list) -> const std::u16string& { return list[random() % list.size()]; };
        const auto token = [&]() -> std::u16string {
            const unsigned r = random() % 100;
            if (r < 70)
                return pick(words);
            if (r < 78)
                return pick(names);
            if (r < 82)
                return pick(names) + (r % 2 ? u"s" : u"'s");
            if (r < 87)
                return pick(compounds);
            if (r < 92)
                return sounds[random() % 9];
            return pick(dialect);
        };
        // The typos, each of a word the game uses right elsewhere, in messages chosen at random.
        std::vector<std::pair<int, std::u16string>> typoAt;
        for (int i = 0; i < kTypos; ++i) {
            const std::u16string t = typoOf(random, i % 3 == 0 ? pick(names) : pick(words), speller);
            typoAt.emplace_back(static_cast<int>(random() % (kMaps * kEvents * kPages * kMessagesPerPage)), t);
            g.typos.insert(t);
        }
        std::sort(typoAt.begin(), typoAt.end());
        size_t nextTypo = 0;
        const CodePage& page = CodePage::system();
        int message = 0;
        std::vector<TreeMap> tree;
        std::vector<int> order;
        for (int map = 1; map <= kMaps; ++map) {
            std::vector<LcfEvent> events;
            for (int e = 1; e <= kEvents; ++e) {
                LcfEvent event{e, "EV" + std::to_string(e), {}};
                for (int p = 1; p <= kPages; ++p) {
                    LcfPage lcfPage{p, {}};
                    for (int m = 0; m < kMessagesPerPage; ++m, ++message) {
                        std::vector<std::u16string> lines;
                        if (random() % 2)
                            lines.push_back(u"\\c[4]" + pick(names) + u":\\c[0]");
                        std::u16string line;
                        while (lines.size() < 3) {
                            std::u16string w = token();
                            if (nextTypo < typoAt.size() && typoAt[nextTypo].first == message)
                                w = typoAt[nextTypo++].second;
                            if (line.size() + w.size() + 1 > 43) {
                                // A long word split at the line's end now and then, not at the message's.
                                if (w.size() >= 9 && lines.size() < 2 && random() % 4 == 0) {
                                    lines.push_back(line + u" " + w.substr(0, 5) + u"-");
                                    line = w.substr(5);
                                } else {
                                    lines.push_back(line);
                                    line = w;
                                }
                                continue;
                            }
                            line += (line.empty() ? u"" : u" ") + w;
                        }
                        lcfPage.commands.push_back(showMessage(page.encode(lines[0])));
                        for (size_t l = 1; l < lines.size(); ++l)
                            lcfPage.commands.push_back(messageLine(page.encode(lines[l])));
                    }
                    event.pages.push_back(std::move(lcfPage));
                }
                events.push_back(std::move(event));
            }
            char name[16];
            std::snprintf(name, sizeof name, "Map%04d.lmu", map);
            std::ofstream(g.folder / name, std::ios::binary) << mapUnit(events);
            tree.push_back({map, "Karte " + std::to_string(map)});
            order.push_back(map);
        }
        std::vector<Hero> heroes;
        for (int i = 0; i < 10; ++i)
            heroes.push_back({i + 1, page.encode(names[static_cast<size_t>(i)])});
        std::ofstream(g.folder / "RPG_RT.lmt", std::ios::binary) << mapTree(tree, order);
        std::ofstream(g.folder / "RPG_RT.ldb", std::ios::binary) << gameDatabase(heroes);
        std::ofstream typos(g.folder.string() + "-typos.txt");
        for (const std::u16string& t : g.typos)
            typos << toUtf8(t) << "\n";
        return g;
    }();
    return game;
}

GameCheck checkOf(const GameMessages& game) {
    GameCheck check;
    check.heroes = game.heroNames;
    check.dictionary = "de_DE";
    check.dictionaryFolders = dictionaryFolders(".");
    check.names = game.gameNames;
    check.mapNames = game.mapNames;
    return check;
}

// The whole check with spelling as "--pruefen --rechtschreibung" runs it (range 1: with the
// dictionary's suggestions, as the command line; 0: without, as the window shows its list first).
void BM_CheckGameSpelling(benchmark::State& state) {
    const Generated& generated = spellingGame();
    GameMessages game = readGameMessages(generated.folder, CodePage::system());
    const GameCheck check = checkOf(game);
    const auto list = std::make_shared<const std::vector<GameMessage>>(std::move(game.messages));
    std::vector<Finding> findings;
    size_t vocabulary = 0;
    for (auto _ : state) {
        findings.clear();
        SpellingOutput output;
        output.vocabulary = [&](std::vector<std::pair<std::u16string, int>>&& w) { vocabulary = w.size(); };
        if (state.range(0))
            output.reasons = [](std::vector<std::pair<std::u16string, std::string>>&&) {};
        const std::atomic<bool> stop(false);
        checkWholeGame(check, {list}, 4000, stop,
                       [&](std::vector<Finding>&& batch, int) { findings.insert(findings.end(), batch.begin(), batch.end()); },
                       output);
    }
    std::set<std::u16string> reported;
    size_t spelling = 0;
    for (const Finding& f : findings)
        if (f.kind == FindingKind::Spelling) {
            reported.insert(f.word);
            ++spelling;
        }
    size_t hits = 0;
    for (const std::u16string& t : generated.typos)
        hits += reported.count(t);
    state.counters["spelling_findings"] = static_cast<double>(spelling);
    state.counters["words_reported"] = static_cast<double>(reported.size());
    state.counters["game_words"] = static_cast<double>(vocabulary);
    state.counters["typos"] = static_cast<double>(generated.typos.size());
    state.counters["precision"] = reported.empty() ? 0.0 : static_cast<double>(hits) / static_cast<double>(reported.size());
    state.counters["recall"] = static_cast<double>(hits) / static_cast<double>(generated.typos.size());
    state.counters["max_rss_MiB"] = maxRssMiB();
}
BENCHMARK(BM_CheckGameSpelling)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// A keystroke in the input window: its four lines checked again with the game's words, a
// new word typed each time, so that the verdict is not the cache's.
void BM_TypingCheck(benchmark::State& state) {
    const Generated& generated = spellingGame();
    GameMessages game = readGameMessages(generated.folder, CodePage::system());
    auto words = std::make_shared<GameWords>(
        collectGameWords(game.gameNames, game.heroNames, game.mapNames, {&game.messages}));
    Speller speller("de_DE", dictionaryFolders("."));
    SpellingCheck check(speller, game.heroNames, words, false);
    check.suggestions(u"x", false);  // the index of near words is built where the game is read, not on a keystroke
    const std::u16string lines[] = {u"\\c[4]Ortwin:\\c[0]", u"Der Weg nach Norden ist lang, und die Brü-",
                                    u"cke ist eingestürzt; nimm den Pass.", u""};
    int n = 0;
    for (auto _ : state) {
        const std::u16string typed = u"Wegx" + std::u16string(1, static_cast<char16_t>(u'a' + n % 26)) +
                                     std::u16string(1, static_cast<char16_t>(u'a' + n / 26 % 26));
        ++n;
        size_t wrong = check.wrongWords(lines[0] + typed, {}, lines[1]).size();
        for (int i = 1; i < 4; ++i)
            wrong += check.wrongWords(lines[i], lines[i - 1], i < 3 ? lines[i + 1] : std::u16string()).size();
        benchmark::DoNotOptimize(wrong);
    }
}
BENCHMARK(BM_TypingCheck)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
