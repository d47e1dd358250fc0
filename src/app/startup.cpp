#include "app/startup.h"

#include "app/apply.h"
#include "app/window_placement.h"
#include "core/platform/code_page.h"
#include "core/settings/ini_file.h"
#include "core/settings/settings.h"
#include "core/settings/startup_keys.h"
#include "look/game_look.h"
#include "platform/qt_text.h"
#include "widgets/help_line.h"
#include "windows/input/input_checks.h"
#include "windows/input/input_window.h"
#include "windows/messages/messages_window.h"
#include "windows/options/option_window.h"
#include "windows/preview/preview_renderer.h"
#include "windows/preview/preview_window.h"
#include "windows/toolbar/toolbar_window.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

#include <functional>
#include <memory>

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
        windows.group.applyPreviewAssets();
}

void connectWindowGroup(Windows& windows, const Platform& platform) {
    const Windows* all = &windows;
    windows.group.arrange = [all] { arrangeWindows(*all); };
    windows.group.startup = [all, &platform] { runStartup(platform, *all); };
    windows.group.showHelp = [all](const QString& text) { all->input->setHelpText(text); };
    windows.group.memo = [all] { return all->input->GetText; };
    windows.group.activateInput = [all] { all->input->activateWindow(); };
    windows.group.lines = [all] {
        const TForm1& input = *all->input;
        return std::array<std::u16string, 4>{input.line(0), input.line(1), input.line(2), input.line(3)};
    };
    windows.group.rerender = [all] { all->input->GetTextChange(); };
    windows.group.drawPreview = [all](const std::array<std::u16string, 4>& lines) {
        if (!all->options || !all->preview)
            return;
        TForm3& preview = *all->preview;
        RenderSettings settings = all->options->renderSettings();
        settings.game = preview.gameLook();
        // Typing shows the message at once, as it stands.
        preview.stopPlaying();
        renderPreview(preview, lines, settings, all->options);
        preview.showDuration(lines, settings);
    };
    windows.group.renderSettings = [all] { return all->options->renderSettings(); };
    windows.group.play = [all] { all->preview->startPlaying(); };
    // The controller lives as long as the group's functions that hold it.
    const auto controller = std::make_shared<Controller>(windows, platform);
    windows.group.apply = [controller] { controller->apply(); };
    windows.group.applyPreviewAssets = [controller] { controller->applyPreviewAssets(); };
    windows.group.send = [controller] { controller->send(); };
    windows.group.flowChanged = [controller] { controller->applyFlow(); };
    windows.group.followChanged = [controller] { controller->applyFollow(); };
    windows.group.helpText = [all] { return all->input->helpline->text(); };
    windows.group.largestInputPercent = [all](bool width) {
        return width ? all->input->largestWidthPercent() : all->input->largestHeightPercent();
    };
    windows.group.openMessages = [all] {
        if (all->messages)
            all->messages->openWindow();
    };
    windows.group.gameFolder = [all] { return all->options->spiel_ordner->text(); };
    windows.group.watchGameFolder = [all](QObject* context, std::function<void()> changed) {
        QObject::connect(all->options->spiel_ordner, &QLineEdit::textChanged, context, std::move(changed));
    };
    windows.group.dictionary = [all] { return all->options->spiel_woerterbuch->text().toStdString(); };
    windows.group.checkSettings = [all] {
        CheckSettings settings = all->options->checkSettings();
        if (const GameLook* look = all->preview->gameLook())
            addLookToChecks(*look, settings);
        return settings;
    };
    windows.group.acceptWord = [all](const std::u16string& word) { all->input->checks->acceptWord(word); };
    windows.group.showMessageLook = [all, controller](const MessageOptions& look, const std::filesystem::path& folder) {
        TForm2& options = *all->options;
        options.setMessageLook(look);
        // Only the message's options change: the game's look already read is kept, not read again.
        std::vector<QString> problems;
        if (const GameLook* shown = all->preview->gameLook()) {
            GameLook changed = *shown;
            applyMessageOptions(changed, folder, options.gameMessageOptions(), &problems);
            all->preview->setGameLook(std::move(changed));
            // A face takes room from the flowing text's lines.
            controller->applyFlow();
        }
        return problems;
    };
}

}  // namespace zeilwerk
