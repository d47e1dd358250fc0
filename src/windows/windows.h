#pragma once

#include "core/settings/ini_file.h"

#include <functional>
#include <vector>

namespace zeilwerk {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;

// What only the program over all windows can do to them as a group; app/ fills it in
// (connectWindowGroup) once the windows exist. Unset, each does nothing.
struct WindowGroup {
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
