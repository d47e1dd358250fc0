#pragma once

#include "platform/platform.h"
#include "windows/windows.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <utility>

namespace zeilwerk {

// The program's answer to the option window's "Anwenden" and the input window's "Zum Maker
// senden": the settings carried into every window, the start-up file written, the text sent.
class Controller {
public:
    Controller(const Windows& windows, const Platform& platform);

    // Apply: every setting into the other windows, the group settled, optn.ini written.
    void apply();
    // The steps that set the preview's pictures, transparent colour and font.
    void applyPreviewAssets();
    // The game's look, read from the game's files when it is switched on.
    void applyGameLook();
    // The checks of the typed lines: the game's heroes and face, and the dictionary, opened
    // again only when its name or the game changed.
    void applyInputChecks();
    // "Fließtext" into the input window: on or off, the speaker's line, even lines, and the
    // widths it measures with, the game's pixels beside its face or the line length.
    void applyFlow();
    // "Mitlesen" into the input window: the Maker's dialog followed, or the memo given back.
    void applyFollow();
    // The four lines, indented, typed into the Maker's message dialog; with flowing text the
    // box shown, and the next box shown after it was sent.
    void send();

private:
    const Windows& m_windows;
    const Platform& m_platform;
    std::optional<std::pair<QString, std::filesystem::path>> m_spellingOpened;  // dictionary and game last opened
};

}  // namespace zeilwerk
