#pragma once

#include "core/game/game_checks.h"
#include "core/game/message_options.h"
#include "look/rendering.h"

#include <QString>

#include <array>
#include <filesystem>
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

class QObject;
class QPlainTextEdit;

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
    // The options of the flowing text changed: carried into the input window at once.
    std::function<void()> flowChanged;
    // "Mitlesen" switched: carried into the input window at once.
    std::function<void()> followChanged;
    // The help line's text now, and the largest input size (percent) the screen holds.
    std::function<QString()> helpText;
    std::function<int(bool width)> largestInputPercent;
    // "Nachrichten des Spiels…".
    std::function<void()> openMessages;
    // What the messages window takes from the options: the game folder as typed (and a call
    // when it changes, while context lives), the dictionary's name, the checks' settings.
    std::function<QString()> gameFolder;
    std::function<void(QObject* context, std::function<void()> changed)> watchGameFolder;
    std::function<std::string()> dictionary;
    std::function<CheckSettings()> checkSettings;
    // A word taken into the game's list, known to the typed lines' checks from now on.
    std::function<void(const std::u16string& word)> acceptWord;
    // A message's own look into the options and the preview of the game in folder; what could
    // not be shown, in German.
    std::function<std::vector<QString>(const MessageOptions& look, const std::filesystem::path& folder)> showMessageLook;
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
