#pragma once

#include <QImage>

namespace zeilwerk {

// The 320 × 80 window drawn from a System graphic, ARGB32: the wallpaper stretched or tiled
// from the top left at the opacity given (160 for RPG Maker 2003's semi-transparent window),
// the frame's corners and edges opaque over it, transparent where the graphic is.
QImage drawGameFrame(const QImage& system, bool tiledWallpaper, int wallpaperOpacity = 255);
// The same over the background colour, with the "more" arrow at (152, 72).
QImage drawGameWindow(const QImage& system, bool tiledWallpaper);
// The "more" arrow alone at its place in the 320 × 80 box, ARGB32: a message waits for a key at its end.
QImage drawGameArrow(const QImage& system);

// Pixels of over that are not transparent, put on picture at (left, top), blended at their
// opacity where they are not opaque.
void drawOver(QImage& picture, const QImage& over, int left, int top);

}  // namespace zeilwerk
