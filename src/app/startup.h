#pragma once

#include "platform/platform.h"
#include "windows/windows.h"

namespace zeilwerk {

// The start-up sequence: reads optn.ini beside the executable, may load the settings
// profile, places the windows, shows them and sets up the preview's pictures.
void runStartup(const Platform& platform, const Windows& windows);

// Fills windows.group with what the program does over all windows: settling, positions,
// arranging and the start-up above. The windows must outlive what it sets.
void connectWindowGroup(Windows& windows, const Platform& platform);

}  // namespace zeilwerk
