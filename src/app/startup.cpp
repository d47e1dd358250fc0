#include "app/startup.h"

#include "app/window_placement.h"
#include "core/platform/code_page.h"
#include "core/settings/ini_file.h"
#include "core/settings/settings.h"
#include "core/settings/startup_keys.h"
#include "platform/qt_text.h"
#include "windows/input/input_window.h"
#include "windows/options/option_window.h"
#include "windows/preview/preview_window.h"
#include "windows/toolbar/toolbar_window.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QString>

namespace zeilwerk {
namespace {

// Brought to the front but not activated: the input window, shown last, takes the keyboard.
void raise(QWidget* window) {
    window->show();
    window->raise();
}

}  // namespace

void runStartup(const Platform& platform, const Windows& windows) {
    const IniFile startupFile(platform.settingsFolder / kStartupFile);
    bool hideToolbar = false;
    bool profileLoaded = false;
    try {
        windows.options->ini_datei->setText(fromIni(startupFile.readText(kProfileFile.section, kProfileFile.key, settings::iniDatei.fallback)));
        windows.options->fenster_auto->setChecked(
            startupFile.readFlag(kRememberPositions.section, kRememberPositions.key, false));
        if (startupFile.readFlag(kLoadAtStart.section, kLoadAtStart.key, false))
            profileLoaded = windows.options->loadini(windows.input);
        hideToolbar = startupFile.readFlag(kHideToolbar.section, kHideToolbar.key, false);
        if (hideToolbar)
            windows.toolbar->hide();
        // Read again: the apply of the profile load may have rewritten the file.
        if (startupFile.readFlag(kRememberPositions.section, kRememberPositions.key, false))
            restorePositions(windows, startupFile);
        else
            arrangeWindows(windows);
    } catch (const std::exception&) {
        // Not reported: the windows are arranged instead.
        arrangeWindows(windows);
    }

    raise(windows.options);
    raise(windows.preview);
    if (!hideToolbar)
        raise(windows.toolbar);

    windows.preview->setUpAssets();
    // The fixed pictures and font above would contradict the profile just applied.
    if (profileLoaded)
        windows.options->applyPreviewAssets();
}

void connectWindowGroup(Windows& windows, const Platform& platform) {
    const Windows* all = &windows;
    windows.group.settleAround = [all](const std::function<void()>& change) {
        const GroupState before = groupState(*all);
        change();
        settleWindows(*all, before);
    };
    windows.group.appendPositions = [all](std::vector<IniEntry>& entries) { appendPositions(*all, entries); };
    windows.group.arrange = [all] { arrangeWindows(*all); };
    windows.group.startup = [all, &platform] { runStartup(platform, *all); };
}

}  // namespace zeilwerk
