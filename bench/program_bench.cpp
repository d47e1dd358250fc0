// The real program from outside: how long from its start until the window manager has
// mapped its four windows, and how much memory it needs with a very large text box.
// Needs a display with a window manager (xvfb-run -a openbox-session wrapper, see README).

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A folder with the program and our pictures, as an installation beside the executable.
fs::path programFolder(const char* name) {
    const fs::path folder = fs::temp_directory_path() / name;
    fs::create_directories(folder);
    for (const char* file : {"zeilwerk", "txtbox.bmp", "txtclr.bmp"})
        fs::copy_file(fs::path(ZEILWERK_BUILD_DIR) / file, folder / file, fs::copy_options::overwrite_existing);
    fs::remove(folder / "optn.ini");
    return folder;
}

pid_t start(const fs::path& folder, const char* platform) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (platform)
            ::setenv("QT_QPA_PLATFORM", platform, 1);
        ::chdir(folder.c_str());
        ::execl((folder / "zeilwerk").c_str(), "zeilwerk", nullptr);
        ::_exit(127);
    }
    return pid;
}

void stop(pid_t pid) {
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
}

// From the start of the process until the fourth window is mapped on the screen.
void startup_four_windows(benchmark::State& state) {
    const fs::path folder = programFolder("zeilwerk-startup-bench");
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        state.SkipWithError("no display");
        return;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const pid_t pid = start(folder, "xcb");
        for (int mapped = 0; mapped < 4;) {
            xcb_generic_event_t* event = xcb_wait_for_event(c);
            if (!event)
                break;
            mapped += (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
            std::free(event);
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        stop(pid);
        fs::remove(folder / "optn.ini");
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        while (xcb_generic_event_t* event = xcb_poll_for_event(c))
            std::free(event);
    }
    xcb_disconnect(c);
}
BENCHMARK(startup_four_windows)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15)->Repetitions(2);

// The peak resident memory of the program started with a 4000 × 1000 text box.
void peak_memory_big_text_box(benchmark::State& state) {
    const fs::path folder = programFolder("zeilwerk-memory-bench");
    {
        QImage big(4000, 1000, QImage::Format_RGB888);
        big.fill(qRgb(20, 30, 120));
        QPainter(&big).fillRect(100, 100, 3000, 500, QColor(200, 0, 0));
        big.save(QString::fromStdString((folder / "txtbox.bmp").string()), "BMP");
    }
    double peakKiB = 0;
    for (auto _ : state) {
        const pid_t pid = start(folder, "offscreen");
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmHWM:", 0) == 0)
                peakKiB = std::max(peakKiB, std::stod(line.substr(6)));
        stop(pid);
    }
    state.counters["peak_MB"] = peakKiB / 1024;
}
BENCHMARK(peak_memory_big_text_box)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
