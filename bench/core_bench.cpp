#include "core/game/text_flow.h"
#include "core/message/scanner.h"
#include "core/platform/code_page.h"
#include "core/settings/ini_file.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

using namespace zeilwerk;

const std::array<std::u16string, 4> kMessage = {
    u"\\c[2]Alex:\\c[0] Hallo, \\n[1]! Schön, dich zu sehen.",
    u"Du hast \\v[12] Goldstücke\\. und \\v[13] Tränke.",
    u"\\s[5]Warte\\|\\_\\_ein \\c[\\v[3]]Moment\\!",
    u"\\$Was möchtest du kaufen?\\^",
};

void BM_ScanMessage(benchmark::State& state) {
    size_t units = 0;
    for (const auto& line : kMessage)
        units += line.size();
    for (auto _ : state)
        for (const auto& line : kMessage)
            benchmark::DoNotOptimize(visibleText(line));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * units * sizeof(char16_t)));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * units));
}
BENCHMARK(BM_ScanMessage);

// One line of 1 MiB of text without a single code, tracing off.
void scan_plain_1MiB(benchmark::State& state) {
    std::u16string line;
    const std::u16string words = u"Ein ganz gewöhnlicher Satz ohne jeden Code, wie ihn Nachrichten meist haben. ";
    while (line.size() * sizeof(char16_t) < (1u << 20))
        line += words;
    line.resize((1u << 20) / sizeof(char16_t));
    for (auto _ : state)
        benchmark::DoNotOptimize(visibleText(line));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size() * sizeof(char16_t)));
}
BENCHMARK(scan_plain_1MiB)->Unit(benchmark::kMicrosecond);

// The table of the Western page, built once at start-up.
void code_page_table(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CodePage("WINDOWS-1252"));
}
BENCHMARK(code_page_table)->Unit(benchmark::kMillisecond);

void BM_ScanMegabyteLine(benchmark::State& state) {
    std::u16string line;
    while (line.size() < (1u << 20))
        line += kMessage[static_cast<size_t>(line.size() / 7) % 4];
    line.resize(1u << 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(visibleText(line));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size() * sizeof(char16_t)));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ScanMegabyteLine);

class CountingSink : public TraceSink {
public:
    bool tracing() const override { return true; }
    void appendLine(const std::u16string& line) override { chars += line.size(); }
    size_t chars = 0;
};

void BM_ScanMessageTraced(benchmark::State& state) {
    CountingSink sink;
    for (auto _ : state)
        for (const auto& line : kMessage)
            benchmark::DoNotOptimize(visibleText(line, &sink));
    benchmark::DoNotOptimize(sink.chars);
}
BENCHMARK(BM_ScanMessageTraced);

const char* const kProfile =
    "[vorschau]\r\naktiv=1\r\naktiv_set=1\r\nscale2x=0\r\nscale2x_set=0\r\ntextbox=txtbox.bmp\r\n"
    "x=1\r\ny=1\r\nfarbe=txtclr.bmp\r\nplain=0\r\nplain_set=0\r\nschrift=MS Mincho\r\n"
    "[eingabe]\r\nbreite=100\r\nhoehe=100\r\nschrift=FixedSys\r\ngrad=8\r\n"
    "[text]\r\nlaenge=50\r\nlinks=1\r\nzentriert=0\r\nrechts=0\r\nausrichtung_set=0\r\nface=0\r\n"
    "[fenster]\r\nfgr=0\r\nauto=0\r\n[tool]\r\nhorizont=1\r\n[ini]\r\nauto=0\r\ndatei=standard.ini\r\n";

const struct {
    const char* section;
    const char* key;
    bool text;
} kProfileKeys[] = {
    {"vorschau", "aktiv", false}, {"vorschau", "aktiv_set", false}, {"vorschau", "scale2x", false},
    {"vorschau", "scale2x_set", false}, {"vorschau", "textbox", true}, {"vorschau", "x", true},
    {"vorschau", "y", true}, {"vorschau", "farbe", true}, {"vorschau", "plain", false},
    {"vorschau", "plain_set", false}, {"vorschau", "schrift", true}, {"eingabe", "breite", true},
    {"eingabe", "hoehe", true}, {"eingabe", "schrift", true}, {"eingabe", "grad", true},
    {"text", "laenge", true}, {"text", "links", false}, {"text", "zentriert", false},
    {"text", "rechts", false}, {"text", "ausrichtung_set", true}, {"text", "face", false},
    {"fenster", "fgr", false}, {"fenster", "auto", false}, {"tool", "horizont", false},
    {"ini", "auto", false}, {"ini", "datei", true},
};

void readProfileKeys(const IniFile& ini) {
    for (const auto& k : kProfileKeys) {
        if (k.text)
            benchmark::DoNotOptimize(ini.readText(k.section, k.key, ""));
        else
            benchmark::DoNotOptimize(ini.readFlag(k.section, k.key, false));
    }
}

void BM_ReadProfile(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "zeilwerk-bench-profile.ini";
    std::ofstream(path, std::ios::binary) << kProfile;
    const IniFile ini(path);
    for (auto _ : state)
        readProfileKeys(ini);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadProfile);

// The 26 keys of a profile grown to 50 MB by other sections and comments, as a start-up
// auto-load reads them: the file written anew before each round, so nothing is known of it.
void read_profile_50MB(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "zeilwerk-bench-profile-50MB.ini";
    std::string text = kProfile;
    for (int i = 0; text.size() < (50u << 20); ++i) {
        text += "[extra" + std::to_string(i) + "]\r\n";
        for (int k = 0; k < 40; ++k)
            text += "key" + std::to_string(k) + "=some value of the extra section\r\n";
        text += "; a comment line that is only there to make the file larger\r\n";
    }
    text += "[fenster]\r\nfgr=1\r\n";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(path);
        std::ofstream(path, std::ios::binary) << text;
        // A moment older than the read, like a profile saved some time ago.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const IniFile ini(path);
        state.ResumeTiming();
        readProfileKeys(ini);
    }
    std::filesystem::remove(path);
}
BENCHMARK(read_profile_50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// A conversation of 2,000 words in paragraphs of forty, each spoken by one of two names,
// with codes, names and symbols among the words.
std::u16string conversation2000() {
    const std::u16string words[] = {u"Wir",     u"müssen",   u"\\c[2]sofort\\c[0]", u"los,",   u"bevor",  u"der",
                                    u"Nebel",   u"über",     u"die",               u"Brücke", u"kommt.", u"\\n[1]",
                                    u"sagt,",   u"dass",     u"Nord-Süd-Bahn",     u"$A",     u"heute",  u"nicht",
                                    u"fährt.",  u"Hast",     u"du",                u"\\v[3]", u"Taler?", u"Gut."};
    std::u16string text;
    for (int i = 0; i < 2000; ++i) {
        if (i % 40 == 0) {
            text += i == 0 ? u"" : u"\n\n";
            text += i % 80 == 0 ? u"Ortwin: " : u"Wendelgard: ";
        } else {
            text += u' ';
        }
        text += words[(i * 7 + i / 3) % std::size(words)];
    }
    return text;
}

// One keystroke: a letter typed into the middle of the conversation (and taken out again on
// the next round), then the whole text flowed afresh, as the input window does on every change.
void reflow(benchmark::State& state, bool balanced) {
    std::u16string text = conversation2000();
    const size_t middle = text.size() / 2;
    LineMeasure measure = LineMeasure::gamePixels({{1, u"Ortwin"}}, {}, CodePage::system());
    flowText(text, measure, {kTextWidth, true, balanced});
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            text.erase(middle, 1);
        else
            text.insert(middle, 1, u'x');
        typed = !typed;
        benchmark::DoNotOptimize(flowText(text, measure, {kTextWidth, true, balanced}));
    }
}
void reflow_2000_words(benchmark::State& state) {
    reflow(state, false);
}
BENCHMARK(reflow_2000_words)->Unit(benchmark::kMicrosecond);
void reflow_2000_words_even(benchmark::State& state) {
    reflow(state, true);
}
BENCHMARK(reflow_2000_words_even)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
