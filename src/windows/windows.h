#pragma once

#include "core/settings/ini_file.h"
#include "look/rendering.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace zeilwerk {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
}  // namespace zeilwerk

class QPlainTextEdit;
class QString;

namespace zeilwerk {

// What one window may ask of the others, and what only the program over all windows can do to
// them as a group: app/ fills it in (connectWindowGroup) once the windows exist, so no window
// needs another's class. Unset, each does nothing.
struct WindowGroup {
    // The help line above the input memo, where every window's hints are shown.
    std::function<void(const QString& text)> showHelp;
    // The input memo, for the toolbar's codes; the input window brought to the front after.
    std::function<QPlainTextEdit*()> memo;
    std::function<void()> activateInput;
    // The memo's four lines as typed.
    std::function<std::array<std::u16string, 4>()> lines;
    // The preview drawn afresh from the memo (the input's GetTextChange).
    std::function<void()> rerender;
    // The lines drawn into the preview with the options' settings, its playing stopped.
    std::function<void(const std::array<std::u16string, 4>& lines)> drawPreview;
    // The settings the preview draws and plays with, as the option window holds them.
    std::function<RenderSettings()> renderSettings;
    // "Abspielen": the memo played in the preview.
    std::function<void()> play;
    // "Anwenden": the options carried into every window; the preview's pictures alone.
    std::function<void()> apply;
    std::function<void()> applyPreviewAssets;
    // "Zum Maker senden".
    std::function<void()> send;
    // Runs change (which may resize windows), then settles the group so it keeps its shape.
    std::function<void(const std::function<void()>& change)> settleAround;
    // The windows' places, for the start-up file.
    std::function<void(std::vector<IniEntry>& entries)> appendPositions;
    // "Fenster anordnen": the group arranged around the screen's centre.
    std::function<void()> arrange;
    // The start-up sequence, run once when the input window first shows.
    std::function<void()> startup;
};

// The four windows and the message window, filled in as main() creates them; each window
// keeps a reference, so the ones created later are reachable once they exist.
struct Windows {
    TForm1* input = nullptr;
    TForm2* options = nullptr;
    TForm3* preview = nullptr;
    TForm4* toolbar = nullptr;
    TForm5* messages = nullptr;  // not part of the arranged group
    WindowGroup group;
};

}  // namespace zeilwerk
