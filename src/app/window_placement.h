#pragma once

#include "app/windows.h"

namespace zeilwerk {

class IniFile;

// The group around the desktop centre: the input window's lower right corner on it, the
// option window right of it, the preview below, the toolbar above. Each move snaps.
void arrangeWindows(const Windows& windows);
// The remembered positions of section "fenster"; a missing key takes its default from the
// positions already set.
void restorePositions(const Windows& windows, const IniFile& startupFile);
void writePositions(const Windows& windows, IniFile& startupFile);

}  // namespace zeilwerk
