#pragma once

#include "app/windows.h"
#include "settings/ini_file.h"

#include <vector>

namespace zeilwerk {

// The group around the desktop centre: the input window's lower right corner on it, the
// option window right of it, the preview below, the toolbar above. Each move snaps.
void arrangeWindows(const Windows& windows);
// The remembered positions of section "fenster"; a missing key takes its default from the
// positions already set.
void restorePositions(const Windows& windows, const IniFile& startupFile);
// The current positions as the keys of section "fenster".
void appendPositions(const Windows& windows, std::vector<IniEntry>& entries);

}  // namespace zeilwerk
