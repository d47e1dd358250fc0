#pragma once

#include <QRgb>

#include <cstddef>

// The per-pixel loops of a keystroke, over rows of 32-bit pixels. Written so the compiler
// turns each into vector instructions; kept apart so they are built with full optimisation.
namespace zeilwerk::pixels {

// to = from with alpha 255, or 0 where from's colour is key.
void maskKey(QRgb* to, const QRgb* from, int count, QRgb key);

// to |= from, channel by channel.
void orInto(QRgb* to, const QRgb* from, int count);

// to = from wherever from's alpha is not 0.
void putOpaque(QRgb* to, const QRgb* from, int count);

// One row of the doubled layer: each pixel of result twice, where its colour is not key;
// elsewhere the box pixel below where its alpha is not 0 (box may be null), else to as it was.
void doubleRow(QRgb* to, const QRgb* box, const QRgb* result, int resultCount, QRgb key);

// The alpha bits of the row ORed together, and ORed into columns, one entry per pixel.
QRgb orAlpha(QRgb* columns, const QRgb* row, int count);

}  // namespace zeilwerk::pixels
