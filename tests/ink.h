#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>

namespace zeilwerk::test {

// The rows of an area that hold text ink (pixels clearly darker than the white ground),
// as a rectangle spanning the area's width; empty when there is none.
inline QRect inkRows(const QImage& image, QRect area) {
    int top = -1;
    int bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 200) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    return top < 0 ? QRect() : QRect(area.left(), top, area.width(), bottom - top + 1);
}

// How many rows of ink one line of text has when nothing cuts it.
inline int uncutInkHeight(const QString& text, const QFont& font) {
    QImage canvas(2000, 100, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.setFont(font);
        p.setPen(QColor(0x6d, 0x6d, 0x6d));
        p.drawText(QPoint(10, 50), text);
    }
    return inkRows(canvas, canvas.rect()).height();
}

}  // namespace zeilwerk::test
