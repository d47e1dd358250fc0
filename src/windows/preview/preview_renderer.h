#pragma once

#include "look/rendering.h"
#include "windows/preview/line_cache.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <string>

namespace zeilwerk {

class TForm3;
class TraceSink;

// What the text and result layers were last made from, so a keystroke redraws only the
// rows of the lines that changed.
struct DrawnFrom {
    qint64 canvas = 0;  // the text layer's cache key as the drawing left it
    QString family;
    std::array<QString, 4> texts;
    std::array<QPoint, 4> origins;
    std::array<QRect, 4> rects;  // the pixels each line set
    qint64 result = 0;           // the result layer's cache key as the colouring left it
    qint64 colours = 0;          // the colour picture's, 0 when not coloured
};

// What the doubled layer was last made from, so a keystroke redoubles only changed rows.
struct DoubledFrom {
    qint64 doubled = 0;  // the doubled picture's cache key as the doubling left it
    QImage result;
    qint64 box = 0;
    QRgb boxKey = 0;
    QRgb resultKey = 0;
};

// The text box enlarged to the 2x layer, its key colour marked by alpha 0. It changes only
// with the text box, so it is made once per picture and colour.
class EnlargedBox {
public:
    const QImage& of(const QImage& box, QRgb key, QSize size);

private:
    qint64 m_source = 0;
    QRgb m_key = 0;
    QImage m_image;
};

// What the preview's rendering keeps between keystrokes: the lines drawn, the font, the
// enlarged text box and what each layer was last made from. One per preview window.
class PreviewRenderer {
public:
    // Draws the four message lines into the preview's layers as the Maker shows them, or in
    // the game's look while one is applied. A line length or alignment that is no number
    // throws, ending the run at that line.
    void render(TForm3& preview, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                TraceSink* trace);

private:
    LineCache m_lines;
    QString m_family;
    QFont m_font;
    int m_ascent = 0;
    EnlargedBox m_enlargedBox;
    DrawnFrom m_drawnFrom;
    DoubledFrom m_doubledFrom;
    QImage m_gameMessage;
};

// The same through the preview's own renderer.
void renderPreview(TForm3& preview, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                   TraceSink* trace);

}  // namespace zeilwerk
