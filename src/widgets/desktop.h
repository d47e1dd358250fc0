#pragma once

#include <QMargins>

class QWidget;

namespace zeilwerk {

// The frame the window manager draws around a top-level window: left, top, right, bottom.
// Known before the window is first shown where the window manager tells it on request
// (_NET_REQUEST_FRAME_EXTENTS); without a window manager, or offscreen, there is none.
QMargins frameExtents(QWidget* window);

// Asks the window manager for a title bar with a close button only, or with no button at
// all; never for minimise or maximise. Some window managers draw a close button anyway.
// A resizable window gets the frame's resize handles too, and with them, in some window
// managers, a maximise button.
void requestTitleBarButtons(QWidget* window, bool closeButton, bool resizable = false);

// The largest percentage p of a designed extent with p × designed / 100 + extra <= available.
int largestFittingPercent(int available, int designed, int extra);

}  // namespace zeilwerk
