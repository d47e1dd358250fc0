#pragma once

#include "core/settings/ini_file.h"
#include "windows/windows.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <vector>

namespace zeilwerk {

// The four windows in the order of the arrays below.
enum GroupWindow { InputWindow, OptionWindow, PreviewWindow, ToolbarWindow, GroupWindowCount };

// One window as the placement sees it: the client size and the frame the window manager
// draws around it; the frame's top is the title bar.
struct FramedSize {
    QSize client;
    QMargins frame;
    QSize outer() const { return client.grownBy(frame); }
    bool operator==(const FramedSize&) const = default;
};
using GroupSizes = std::array<FramedSize, GroupWindowCount>;
// Outer rectangles, title bars included.
using GroupRects = std::array<QRect, GroupWindowCount>;

// The arrangement: the input window's lower right corner on the centre, the option window
// right of it, the preview below with its right edge level, the toolbar above with its left
// edge level, 8 pixels apart. A group that leaves the work area is shifted into it as one;
// where the group is wider or taller than the work area, the windows that do not fit go to
// the nearest free place beside the others.
GroupRects arrangedGroup(const GroupSizes& sizes, QPoint centre, QRect workArea);

// After apply changed sizes: a group that stood as arranged (before, for the old sizes) is
// arranged again for the new ones; otherwise each window that changed size stays where it is
// unless it now covers another window or leaves the work area, and then goes to the nearest
// free place.
GroupRects settledGroup(const GroupRects& before, const GroupSizes& oldSizes, const GroupSizes& newSizes,
                        QPoint centre, QRect workArea);

// A remembered rectangle whose title bar lies in none of the work areas (a screen since
// removed, a larger one) moved just far enough into the first of them, the primary screen's.
QRect movedOntoScreen(QRect outer, int titleBar, const std::vector<QRect>& workAreas);

// The arrangement of the real windows ("Fenster ausrichten" and start-up), the message
// window beside the option window. Each move snaps.
void arrangeWindows(const Windows& windows);
// The remembered positions of section "fenster"; a missing key takes its default from the
// positions already set. A position off every screen is moved onto the primary one.
void restorePositions(const Windows& windows, const IniFile& startupFile);
// The current positions as the keys of section "fenster".
void appendPositions(const Windows& windows, std::vector<IniEntry>& entries);

// What the windows are before apply changes their sizes, and the settling after it.
struct GroupState {
    GroupSizes sizes;
    GroupRects rects;
};
GroupState groupState(const Windows& windows);
void settleWindows(const Windows& windows, const GroupState& before);

}  // namespace zeilwerk
