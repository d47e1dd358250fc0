#pragma once

#include "app/windows.h"
#include "platform/platform.h"

namespace zeilwerk {

// The start-up sequence: reads optn.ini beside the executable, may load the settings
// profile, places the windows, shows them and sets up the preview's pictures.
void runStartup(const Platform& platform, const Windows& windows);

}  // namespace zeilwerk
