#include "look/window_art.h"

#include "look/game_look.h"

#include <algorithm>

namespace zeilwerk {
namespace {

// Pixel (x, y) of src over dst where src is not transparent.
void putOpaque(QRgb& dst, QRgb src) {
    if (qAlpha(src))
        dst = src | 0xFF000000;
}

// src over dst at src's opacity, rounded to the nearest; dst stays opaque.
void putBlended(QRgb& dst, QRgb src) {
    const int a = qAlpha(src);
    if (a == 255 || a == 0) {
        putOpaque(dst, src);
        return;
    }
    const auto mix = [a](int over, int under) { return (over * a + under * (255 - a) + 127) / 255; };
    dst = qRgb(mix(qRed(src), qRed(dst)), mix(qGreen(src), qGreen(dst)), mix(qBlue(src), qBlue(dst)));
}

}  // namespace

QImage drawGameFrame(const QImage& system, bool tiledWallpaper, int wallpaperOpacity) {
    const auto alpha = static_cast<QRgb>(std::clamp(wallpaperOpacity, 0, 255)) << 24;
    constexpr int w = 320;
    constexpr int h = 80;
    QImage window(w, h, QImage::Format_ARGB32);
    window.fill(0);
    const auto at = [&](int x, int y) { return reinterpret_cast<const QRgb*>(system.constScanLine(y))[x]; };
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(window.scanLine(y));
        for (int x = 0; x < w; ++x) {
            // Nearest sampling when stretched; repeated from the top left when tiled.
            if (const QRgb paper = tiledWallpaper ? at(x % 32, y % 32) : at(x * 32 / w, y * 32 / h); qAlpha(paper))
                row[x] = (paper & 0xFFFFFF) | alpha;
            QRgb frame = 0;
            const bool left = x < 8, right = x >= w - 8, top = y < 8, bottom = y >= h - 8;
            if ((left || right) && (top || bottom))
                frame = at((right ? 56 : 32) + x % 8, (bottom ? 24 : 0) + y % 8);
            else if (top || bottom)
                frame = at(40 + x % 16, top ? y : 24 + y - (h - 8));
            else if (left || right)
                frame = at(left ? 32 + x : 56 + x - (w - 8), 8 + y % 16);
            putOpaque(row[x], frame);
        }
    }
    return window;
}

QImage drawGameArrow(const QImage& system) {
    QImage arrow(320, 80, QImage::Format_ARGB32);
    arrow.fill(0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            arrow.setPixel(152 + x, 72 + y, system.pixel(40 + x, 16 + y));
    return arrow;
}

void drawOver(QImage& picture, const QImage& over, int left, int top) {
    for (int y = 0; y < over.height(); ++y) {
        if (top + y < 0 || top + y >= picture.height())
            continue;
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(top + y));
        const auto* from = reinterpret_cast<const QRgb*>(over.constScanLine(y));
        for (int x = 0; x < over.width(); ++x)
            if (left + x >= 0 && left + x < picture.width())
                putBlended(row[left + x], from[x]);
    }
}

QImage drawGameWindow(const QImage& system, bool tiledWallpaper) {
    QImage window(320, 80, QImage::Format_RGB32);
    window.fill(kGameBackground);
    drawOver(window, drawGameFrame(system, tiledWallpaper), 0, 0);
    drawOver(window, drawGameArrow(system), 0, 0);
    return window;
}

}  // namespace zeilwerk
