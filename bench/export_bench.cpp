// One "Zum Maker senden" of four typical lines into our stand-in Maker dialog under Wine.
// Run it inside a display (xvfb-run) with wine installed; it starts the dialog itself.

#include "core/maker/export_text.h"
#include "maker/maker_sender.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using namespace zeilwerk;

QString windowsPath(const std::filesystem::path& p) {
    return QStringLiteral("Z:") + QString::fromStdString(p.string());
}

void export_four_lines(benchmark::State& state) {
    char pattern[] = "/tmp/zeilwerk-export-bench-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(pattern);
    std::filesystem::copy_file(std::filesystem::path(ZEILWERK_BUILD_DIR) / "zeilwerk-maker.exe",
                               folder / "zeilwerk-maker.exe");
    QProcess maker;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("WINEDEBUG", "-all");
    env.insert("WINEDLLOVERRIDES", "mscoree=d;mshtml=d");
    maker.setProcessEnvironment(env);
    maker.setStandardOutputFile(QProcess::nullDevice());
    maker.setStandardErrorFile(QProcess::nullDevice());
    maker.start("wine", {QString(ZEILWERK_FAKE_MAKER), windowsPath(folder / "record"), windowsPath(folder / "ready"),
                         windowsPath(folder / "quit")});
    for (int i = 0; i < 1200 && !std::filesystem::exists(folder / "ready"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!std::filesystem::exists(folder / "ready")) {
        state.SkipWithError("the stand-in dialog did not come up under Wine");
        return;
    }

    const std::unique_ptr<MakerSender> sender = systemMakerSender(folder / "zeilwerk-maker.exe");
    const std::u16string text = buildExportText(
        {u"\\c[2]Alex:\\c[0] Hallo, \\n[1]! Schön, dich zu sehen.", u"Du hast \\v[12] Goldstücke und \\v[13] Tränke.",
         u"\\s[5]Warte\\|\\_\\_ein \\c[\\v[3]]Moment\\!", u"\\$Was möchtest du kaufen?\\^"},
        1, 50);
    for (auto _ : state)
        sender->send(text);

    std::ofstream(folder / "quit") << "";
    maker.waitForFinished(20000);
    std::filesystem::remove_all(folder);
}
BENCHMARK(export_four_lines)->Unit(benchmark::kMillisecond)->Iterations(30)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
