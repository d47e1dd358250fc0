// The message window's tree with a large game: 600 maps of 80 messages, 48,000 in all,
// filled part by part as the reading hands them on, and filtered as the user types.

#include "windows/messages/messages_model.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeView>

#include <string>

namespace {

using namespace zeilwerk;

constexpr int kMaps = 600, kPerMap = 80;

const char16_t* const kLines[] = {
    u"\\c[2]Alex:\\c[0] Guten Tag, \\n[1]! Wie geht es dir heute?",
    u"Du hast \\v[12] Goldstücke\\. und \\v[13] Tränke bei dir.",
    u"\\s[5]Warte\\|\\_\\_ein kleines Weilchen, dann geht es weiter\\!",
    u"Der Weg nach Norden ist lang, und die Brücke ist eingestürzt; nimm den Pass.",
};

std::vector<GamePart> bigGame() {
    std::vector<GamePart> parts;
    GamePart names;
    names.names = true;
    names.parts = kMaps;
    for (int map = 1; map <= kMaps; ++map)
        names.mapNames[map] = u"Karte";
    parts.push_back(std::move(names));
    int n = 0;
    for (int map = 1; map <= kMaps; ++map) {
        GamePart part;
        part.source = map;
        for (int i = 0; i < kPerMap; ++i, ++n) {
            GameMessage m;
            m.place = {MessageKind::Map, map, i / 8 + 1, i % 2 + 1, i};
            for (int l = 0; l < 3; ++l)
                m.lines.push_back(kLines[(n + l) % 4]);
            part.messages.push_back(std::move(m));
        }
        parts.push_back(std::move(part));
    }
    return parts;
}

void BM_FillTree(benchmark::State& state) {
    const std::vector<GamePart> game = bigGame();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<GamePart> parts = game;
        MessagesModel model;
        QTreeView view;
        view.setUniformRowHeights(true);
        view.setModel(&model);
        view.resize(520, 420);
        state.ResumeTiming();
        for (GamePart& p : parts)
            model.addPart(std::move(p));
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(model.messageCount());
    }
}
BENCHMARK(BM_FillTree)->Unit(benchmark::kMillisecond);

// One keystroke in the filter field: every line of every message looked through.
void BM_FilterTree(benchmark::State& state) {
    std::vector<GamePart> parts = bigGame();
    MessagesModel model;
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setModel(&model);
    view.resize(520, 420);
    for (GamePart& p : parts)
        model.addPart(std::move(p));
    const QString texts[] = {QStringLiteral("brücke"), QStringLiteral("BRÜCKEN"), QString()};
    int i = 0;
    for (auto _ : state) {
        model.setFilter(texts[i++ % 3]);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(model.shownCount());
    }
    state.counters["messages"] = model.messageCount();
}
BENCHMARK(BM_FilterTree)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
