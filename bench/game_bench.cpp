#include "core/game/game_checks.h"
#include "core/game/game_folder.h"
#include "core/game/map_unit.h"
#include "core/game/message_splice.h"
#include "spelling/speller.h"
#include "spelling/spelling_check.h"

#include "core/platform/code_page.h"
#include "lcf_fixture.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace zeilwerk;
using namespace zeilwerk::test;

constexpr int kMaps = 600, kEvents = 10, kPages = 2, kMessagesPerPage = 4;

// In the game's code page, Windows-1252.
const char* const kLines[] = {
    "\\c[2]Alex:\\c[0] Guten Tag, \\n[1]! Wie geht es dir heute?",
    "Du hast \\v[12] Goldst\xfc" "cke\\. und \\v[13] Tr\xe4" "nke bei dir.",
    "\\s[5]Warte\\|\\_\\_ein kleines Weilchen, dann geht es weiter\\!",
    "Der Weg nach Norden ist lang, und die Br\xfc" "cke ist eingest\xfc" "rzt; nimm den Pass.",
};

// 600 maps, 48,000 messages, 136,000 lines: every sixth message has two lines, the rest three.
const std::filesystem::path& bigGame() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path f = std::filesystem::temp_directory_path() / "zeilwerk-game-bench";
        std::filesystem::remove_all(f);
        std::filesystem::create_directories(f);
        int message = 0;
        std::vector<TreeMap> tree;
        std::vector<int> order;
        for (int map = 1; map <= kMaps; ++map) {
            std::vector<LcfEvent> events;
            for (int e = 1; e <= kEvents; ++e) {
                LcfEvent event{e, "NPC", {}};
                for (int p = 1; p <= kPages; ++p) {
                    LcfPage page{p, {changeFace("Leute", e % 16), windowOptions(e % 3)}};
                    for (int m = 0; m < kMessagesPerPage; ++m, ++message) {
                        const int lines = message % 6 == 0 ? 2 : 3;
                        page.commands.push_back(showMessage(kLines[message % 4]));
                        for (int l = 1; l < lines; ++l)
                            page.commands.push_back(messageLine(kLines[(message + l) % 4]));
                        page.commands.push_back({12010, 0, "", {0, 1, 0, 0, 0}});
                        page.commands.push_back({22011, 0, "", {}});
                    }
                    event.pages.push_back(std::move(page));
                }
                events.push_back(std::move(event));
            }
            char name[16];
            std::snprintf(name, sizeof name, "Map%04d.lmu", map);
            std::ofstream(f / name, std::ios::binary) << mapUnit(events);
            tree.push_back({map, "Karte " + std::to_string(map)});
            order.push_back(map);
        }
        std::ofstream(f / "RPG_RT.lmt", std::ios::binary) << mapTree(tree, order);
        std::ofstream(f / "RPG_RT.ldb", std::ios::binary) << gameDatabase({{1, "Alex"}});
        return f;
    }();
    return folder;
}

double maxRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ReadGame(benchmark::State& state) {
    const std::filesystem::path& folder = bigGame();
    size_t messages = 0, lines = 0;
    for (auto _ : state) {
        const GameMessages game = readGameMessages(folder, CodePage::system());
        messages = game.messages.size();
        lines = 0;
        for (const GameMessage& m : game.messages)
            lines += m.lines.size();
        benchmark::DoNotOptimize(messages);
    }
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        bytes += entry.file_size();
    state.counters["messages"] = static_cast<double>(messages);
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["game_MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.counters["max_rss_MiB"] = maxRssMiB();
}
BENCHMARK(BM_ReadGame)->Unit(benchmark::kMillisecond);

void BM_CheckGame(benchmark::State& state) {
    const GameMessages game = readGameMessages(bigGame(), CodePage::system());
    size_t findings = 0;
    for (auto _ : state) {
        findings = checkMessages(game, CodePage::system()).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckGame)->Unit(benchmark::kMillisecond);

// The German dictionary over the whole game, opened anew each time as the command line does.
void BM_SpellGame(benchmark::State& state) {
    const GameMessages game = readGameMessages(bigGame(), CodePage::system());
    size_t findings = 0;
    for (auto _ : state) {
        Speller speller("de_DE", dictionaryFolders("."));
        findings = checkSpelling(game, speller).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_SpellGame)->Unit(benchmark::kMillisecond);

// A game with a word of its own in every message, none in the dictionary: the cost of the
// checks and suggestions themselves, which the cache spares a real game most of.
void BM_SpellDistinctWords(benchmark::State& state) {
    const int words = static_cast<int>(state.range(0));
    GameMessages game;
    const char16_t* const stems[] = {u"Wald", u"Haus", u"Schwert", u"Burg", u"Drache", u"Stadt", u"Berg", u"Fluss"};
    for (int i = 0; i < words; ++i) {
        std::u16string word = stems[i % 8];
        word += std::u16string(1, static_cast<char16_t>(u'a' + i / 8 % 26)) + u"x" +
                std::u16string(1, static_cast<char16_t>(u'a' + i / 208 % 26));
        game.messages.push_back({{}, {u"Der " + word + u" ist weit."}, {}});
    }
    Speller speller("de_DE", dictionaryFolders("."));
    size_t findings = 0;
    for (auto _ : state) {
        findings = checkSpelling(game, speller, state.range(1) != 0).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}
// Words, with suggestions or without.
BENCHMARK(BM_SpellDistinctWords)->Args({200, 1})->Args({5000, 0})->Unit(benchmark::kMillisecond)->Iterations(1);

// A translator's write: every message of one map changed, each a line longer, spliced into
// the map's bytes; a map of the big game's kind, and one of 50 times its messages.
void BM_SpliceEveryMessage(benchmark::State& state) {
    const int events = static_cast<int>(state.range(0));
    std::vector<LcfEvent> list;
    for (int e = 1; e <= events; ++e) {
        LcfPage page{1, {changeFace("Leute", e % 16)}};
        for (int m = 0; m < kMessagesPerPage * kPages; ++m) {
            page.commands.push_back(showMessage(kLines[m % 4]));
            page.commands.push_back(messageLine(kLines[(m + 1) % 4]));
            page.commands.push_back({12010, 0, "", {0, 1, 0, 0, 0}});
            page.commands.push_back({22011, 0, "", {}});
        }
        list.push_back({e, "NPC", {page}});
    }
    const std::string map = mapUnit(list);
    std::vector<GameMessage> messages;
    for (const MapEvent& e : readMapUnit(map))
        for (const EventPage& p : e.pages)
            collectMessages(p.commands, {MessageKind::Map, 1, e.id, p.id, 0}, CodePage::system(), {}, messages);
    std::vector<MessageChange> changes;
    for (const GameMessage& m : messages) {
        std::vector<std::u16string> lines = m.lines;
        lines.push_back(u"Eine neue Zeile der Übersetzung.");
        changes.push_back({m.place, messageChecksum(m.lines), lines});
    }
    int written = 0;
    for (auto _ : state) {
        written = spliceMessages(map, changes, CodePage::system()).written;
        benchmark::DoNotOptimize(written);
    }
    state.counters["messages"] = static_cast<double>(written);
    state.counters["map_KiB"] = static_cast<double>(map.size()) / 1024.0;
}
BENCHMARK(BM_SpliceEveryMessage)->Arg(kEvents)->Arg(50 * kEvents)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
