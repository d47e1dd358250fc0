#include "app/command_line.h"
#include "app/startup.h"
#include "look/fonts.h"
#include "maker/maker_reader.h"
#include "maker/maker_sender.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "widgets/messages.h"
#include "windows/input/input_window.h"
#include "windows/messages/messages_window.h"
#include "windows/options/option_window.h"
#include "windows/preview/preview_window.h"
#include "windows/toolbar/toolbar_window.h"
#include "windows/windows.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Qt aborts with a long plug-in message when there is no display; say it in one line.
bool displayMissing() {
#if defined(Q_OS_LINUX)
    return !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM");
#else
    return false;
#endif
}

#ifdef _WIN32
// A windowed program has no console of its own: what the command line writes goes to the
// console it was started from, unless it is redirected to a file or a pipe.
void useParentConsole() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN)
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    SetConsoleOutputCP(CP_UTF8);
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    if (zeilwerk::isCommandLine(argc, argv))
        useParentConsole();
#endif
    // The checks of a game folder need no windows, and so no display.
    if (const auto status = zeilwerk::runCommandLine(argc, argv, std::cout, std::cerr))
        return *status;
    if (displayMissing()) {
        std::fprintf(stderr, "Zeilwerk: no display found (DISPLAY is not set); "
                             "start it on a desktop, or without one as: xvfb-run -a %s\n", argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(zeilwerk::applicationTitle);
    // Installed, the windows carry the program's icon and belong to its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("zeilwerk"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zeilwerk")));

    zeilwerk::BoxMessages messages;
    const zeilwerk::FontList fonts = zeilwerk::FontList::installed();
    const std::filesystem::path programFolder = zeilwerk::executableFolder();
    const std::unique_ptr<zeilwerk::MakerSender> maker = zeilwerk::systemMakerSender(zeilwerk::makerBridge(programFolder));
    const std::unique_ptr<zeilwerk::MakerReader> reader = zeilwerk::systemMakerReader(zeilwerk::makerBridge(programFolder));
    // An installed program cannot write beside itself: its files then live in the user's folder.
    const zeilwerk::Platform platform{&messages, &fonts, maker.get(), reader.get(),
                                      zeilwerk::settingsFolder(programFolder),
                                      zeilwerk::installedDataFolder(programFolder), programFolder};
    zeilwerk::Windows windows;
    zeilwerk::TForm1 input(platform, windows);
    windows.input = &input;
    zeilwerk::TForm2 options(platform, windows);
    windows.options = &options;
    zeilwerk::TForm3 preview(platform, windows);
    windows.preview = &preview;
    zeilwerk::TForm4 toolbar(platform, windows);
    windows.toolbar = &toolbar;
    // Hidden until the option window opens it; destroyed first, so a reading under way ends
    // while the windows it reports to still exist.
    zeilwerk::TForm5 messagesWindow(platform, windows);
    windows.messages = &messagesWindow;
    zeilwerk::connectWindowGroup(windows, platform);

    input.show();
    return app.exec();
}
