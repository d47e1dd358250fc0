// "Mitlesen" while nothing changes: the CPU share of the program over a stretch of wall time
// (ZEILWERK_FOLLOW_SECONDS, 60 by default), its four windows following a dialog whose text
// stays the same. Once with an in-process reader (the timer, the thread hop, the comparison),
// once through the stand-in bridge over its pipe (whose own CPU is reported apart).

#include "app/startup.h"
#include "look/fonts.h"
#include "maker/maker_reader.h"
#include "maker/maker_sender.h"
#include "widgets/messages.h"
#include "windows/input/input_window.h"
#include "windows/options/option_window.h"
#include "windows/preview/preview_window.h"
#include "windows/toolbar/toolbar_window.h"
#include "windows/windows.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <atomic>
#include <cstdlib>

namespace {

using namespace zeilwerk;

const std::u16string kDialog = u"\\C[2]Ortwin:\\C[0]\r\nWir müssen los, bevor der Nebel kommt.\r\n"
                               u"Der Fährmann wartet nicht, und es kostet 5 €.\r\nNimm die Laterne mit!";

class SameText : public MakerReader {
public:
    Reading read() override {
        ++reads;
        return {Status::Read, kDialog};
    }
    std::atomic<int> reads{0};
};

// A reader that counts, around another.
class Counted : public MakerReader {
public:
    explicit Counted(MakerReader& inner) : m_inner(inner) {}
    Reading read() override {
        ++reads;
        return m_inner.read();
    }
    void stop() override { m_inner.stop(); }
    std::atomic<int> reads{0};

private:
    MakerReader& m_inner;
};

// What would be shown is counted, not shown: a message box would wait for a click.
class CountedMessages : public Messages {
public:
    void show(const QString&) override { ++shown; }
    void error(const QString&) override { ++shown; }
    int shown = 0;
};

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int seconds() {
    const char* set = std::getenv("ZEILWERK_FOLLOW_SECONDS");
    return set && std::atoi(set) > 0 ? std::atoi(set) : 60;
}

void follow(benchmark::State& state, bool throughBridge) {
    CountedMessages messages;
    const FontList fonts = FontList::installed();
    QTemporaryDir folder;
    SameText same;
    std::unique_ptr<MakerReader> bridged;
    if (throughBridge) {
        QFile shown(folder.filePath(QStringLiteral("zeilwerk-maker.exe")));
        shown.open(QIODevice::WriteOnly);
        shown.write(reinterpret_cast<const char*>(kDialog.data()), static_cast<qint64>(2 * kDialog.size()));
        shown.close();
        bridged = wineMakerReader(folder.filePath(QStringLiteral("zeilwerk-maker.exe")).toStdString(),
                                  ZEILWERK_STAND_IN_WINE, folder.path().toStdString(), makerAnswerTimeoutMs);
    }
    Counted reader(throughBridge ? *bridged : static_cast<MakerReader&>(same));
    Platform platform{&messages, &fonts, nullptr, &reader, folder.path().toStdString(), {}, {}};
    Windows windows;
    auto input = std::make_unique<TForm1>(platform, windows);
    windows.input = input.get();
    auto options = std::make_unique<TForm2>(platform, windows);
    windows.options = options.get();
    auto preview = std::make_unique<TForm3>(platform, windows);
    windows.preview = preview.get();
    auto toolbar = std::make_unique<TForm4>(platform, windows);
    windows.toolbar = toolbar.get();
    connectWindowGroup(windows, platform);
    input->show();
    preview->show();
    options->text_mitlesen->setChecked(true);
    // The first reading (and the bridge's start) before the clock runs.
    while (reader.reads < 3)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    for (auto _ : state) {
        const int readsBefore = reader.reads;
        const double before = cpuSeconds(RUSAGE_SELF);
        // exit(), not quit(): the tool windows refuse to close.
        QTimer::singleShot(seconds() * 1000, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        const double used = cpuSeconds(RUSAGE_SELF) - before;
        state.SetIterationTime(seconds());
        state.counters["cpu_percent"] = 100.0 * used / seconds();
        state.counters["reads_per_s"] = static_cast<double>(reader.reads - readsBefore) / seconds();
        state.counters["messages"] = messages.shown;
    }
    options->text_mitlesen->setChecked(false);
    const double childrenBefore = cpuSeconds(RUSAGE_CHILDREN);
    toolbar.reset();
    preview.reset();
    options.reset();
    input.reset();  // ends the follower, and with it the stand-in bridge
    if (throughBridge)
        state.counters["bridge_cpu_percent"] = 100.0 * (cpuSeconds(RUSAGE_CHILDREN) - childrenBefore) / seconds();
}

void BM_FollowUnchangedDialog(benchmark::State& state) { follow(state, false); }
void BM_FollowUnchangedDialogThroughBridge(benchmark::State& state) { follow(state, true); }
BENCHMARK(BM_FollowUnchangedDialog)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_FollowUnchangedDialogThroughBridge)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

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
