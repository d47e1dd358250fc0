#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <list>
#include <memory>

namespace zeilwerk {

// Lines drawn once, kept with the pixels they set, so a keystroke draws only the line
// that changed. A line's pixels are its opaque background and its glyphs: put over the
// canvas in line order they give what drawing the text there gives.
class LineCache {
public:
    struct Key {
        QString family;
        QString text;
        QPoint origin;
        QSize canvas;
        bool operator==(const Key&) const = default;
    };

    struct Line {
        Key key;
        QPoint at;      // top-left of the pixels on the canvas
        QImage pixels;  // premultiplied; alpha 0 where the line sets nothing
        bool solid;     // every pixel fully set or not at all

        QRect rect() const { return QRect(at, pixels.size()); }
    };

    // The line drawn, from the cache when it was drawn before.
    std::shared_ptr<const Line> line(const QFont& font, const Key& key);

    // Puts the line's pixels over the canvas in rows [top, bottom).
    static void putOver(QImage& canvas, const Line& line, int top, int bottom);

private:
    static constexpr size_t kLines = 16;

    static Line drawn(const QFont& font, const Key& key);

    std::list<std::shared_ptr<const Line>> m_lines;  // most recently used first
};

}  // namespace zeilwerk
