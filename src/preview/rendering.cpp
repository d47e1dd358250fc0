#include "preview/rendering.h"

#include "platform/qt_text.h"
#include "message/scanner.h"
#include "platform/code_page.h"
#include "platform/fonts.h"
#include "platform/number.h"
#include "preview/layout.h"
#include "preview/pixels.h"
#include "preview/preview_window.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScopeGuard>

#include <cstring>
#include <exception>
#include <list>
#include <memory>

namespace zeilwerk {
namespace {

constexpr int previewPoints = 9;

// Row y of the result, width pixels, ORed channel by channel with the colour layer lying
// on the result from (8, 8).
void colourRow(QRgb* row, int y, int width, const QImage& colours) {
    constexpr int offset = 8;
    if (y >= offset && y - offset < colours.height() && width > offset)
        pixels::orInto(row + offset, reinterpret_cast<const QRgb*>(colours.constScanLine(y - offset)),
                       std::min(width - offset, colours.width()));
}

void colourResult(QImage& result, const QImage& colours) {
    for (int y = 0; y < result.height(); ++y)
        colourRow(reinterpret_cast<QRgb*>(result.scanLine(y)), y, result.width(), colours);
}

// The source enlarged onto the whole target, nearest pixel, skipping the key colour.
void enlargeOnto(QImage& target, const QImage& source, QRgb key) {
    key &= 0xFFFFFF;
    const int tw = target.width();
    const int th = target.height();
    const int sw = source.width();
    const int sh = source.height();
    std::vector<int> column(static_cast<size_t>(tw));
    for (int x = 0; x < tw; ++x)
        column[static_cast<size_t>(x)] = static_cast<int>(std::int64_t(x) * sw / tw);
    for (int y = 0; y < th; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(std::int64_t(y) * sh / th)));
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < tw; ++x) {
            const QRgb pixel = from[column[static_cast<size_t>(x)]];
            if ((pixel & 0xFFFFFF) != key)
                to[x] = pixel;
        }
    }
}

// The text box enlarged to the 2x layer, its key colour marked by alpha 0. It changes only
// with the text box, so it is made once per picture and colour.
class EnlargedBox {
public:
    const QImage& of(const QImage& box, QRgb key, QSize size) {
        key &= 0xFFFFFF;
        if (box.cacheKey() != m_source || key != m_key || m_image.size() != size) {
            m_image = QImage(size, QImage::Format_ARGB32);
            m_image.fill(0);
            enlargeOnto(m_image, box, key);
            m_source = box.cacheKey();
            m_key = key;
        }
        return m_image;
    }

private:
    qint64 m_source = 0;
    QRgb m_key = 0;
    QImage m_image;
};

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

    std::shared_ptr<const Line> line(const QFont& font, const Key& key) {
        auto it = std::find_if(m_lines.begin(), m_lines.end(), [&](const auto& l) { return l->key == key; });
        if (it == m_lines.end()) {
            m_lines.push_front(std::make_shared<const Line>(drawn(font, key)));
            if (m_lines.size() > kLines)
                m_lines.pop_back();
            it = m_lines.begin();
        } else if (it != m_lines.begin()) {
            m_lines.splice(m_lines.begin(), m_lines, it);
        }
        return *it;
    }

    // Puts the line's pixels over the canvas in rows [top, bottom).
    static void putOver(QImage& canvas, const Line& line, int top, int bottom) {
        const QRect rect = line.rect() & QRect(0, top, canvas.width(), bottom - top);
        if (rect.isEmpty())
            return;
        const QPoint inside = rect.topLeft() - line.at;
        if (!line.solid) {
            QPainter painter(&canvas);
            painter.drawImage(rect.topLeft(), line.pixels, QRect(inside, rect.size()));
            return;
        }
        for (int y = 0; y < rect.height(); ++y)
            pixels::putOpaque(reinterpret_cast<QRgb*>(canvas.scanLine(rect.y() + y)) + rect.x(),
                              reinterpret_cast<const QRgb*>(line.pixels.constScanLine(inside.y() + y)) + inside.x(),
                              rect.width());
    }

private:
    static constexpr size_t kLines = 16;

    static Line drawn(const QFont& font, const Key& key) {
        // Only a band around the baseline can be touched: three line heights, cut to the
        // canvas, so the band's edges are the canvas's wherever a glyph could reach them.
        const QFontMetrics metrics(font);
        const int top = std::max(0, key.origin.y() - metrics.ascent() - metrics.height());
        const int bottom = std::min(key.canvas.height(), key.origin.y() + metrics.descent() + metrics.height());
        if (bottom <= top)
            return {key, {}, QImage(), true};
        QImage band(key.canvas.width(), bottom - top, QImage::Format_ARGB32_Premultiplied);
        band.fill(Qt::transparent);
        {
            QPainter painter(&band);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.setBackground(Qt::white);
            painter.drawText(key.origin - QPoint(0, top), key.text);
        }
        const int width = band.width();
        std::vector<QRgb> columns(static_cast<size_t>(width), 0);
        int firstRow = -1, lastRow = -1;
        for (int y = 0; y < band.height(); ++y)
            if (pixels::orAlpha(columns.data(), reinterpret_cast<const QRgb*>(band.constScanLine(y)), width)) {
                firstRow = firstRow < 0 ? y : firstRow;
                lastRow = y;
            }
        if (firstRow < 0)
            return {key, {}, QImage(), true};
        int first = 0, last = width - 1;
        while (!columns[static_cast<size_t>(first)])
            ++first;
        while (!columns[static_cast<size_t>(last)])
            --last;
        QImage pixels = band.copy(first, firstRow, last - first + 1, lastRow - firstRow + 1);
        bool solid = true;
        const int cropWidth = pixels.width();
        for (int y = 0; y < pixels.height() && solid; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
            for (int x = 0; x < cropWidth; ++x)
                solid = solid && (qAlpha(row[x]) == 0 || qAlpha(row[x]) == 255);
        }
        return {key, QPoint(first, top + firstRow), pixels, solid};
    }

    std::list<std::shared_ptr<const Line>> m_lines;  // most recently used first
};

// The result layer: the drawn text, coloured. Rows whose text and colours are as last time
// are left alone; of the others only those that come out different are masked again.
void updateResult(Layer& result, const QImage& canvas, std::optional<QRgb> transparent, const QImage* colours,
                  const std::vector<char>& drawnRows, DrawnFrom& from) {
    const qint64 coloursKey = colours ? colours->cacheKey() : 0;
    if (!result.shownIsCurrent() || result.setTransparent() != transparent || result.picture().size() != canvas.size()) {
        result.copyPicture(canvas, transparent);
        if (colours)
            colourResult(result.picture(), *colours);
        result.refresh();
    } else {
        const bool sameSources = from.result == result.picture().cacheKey() && from.colours == coloursKey;
        const int width = canvas.width();
        const int height = canvas.height();
        const QImage& current = result.picture();
        std::vector<QRgb> row(static_cast<size_t>(width));
        const auto rowBytes = row.size() * sizeof(QRgb);
        for (int y = 0; y < height; ++y) {
            if (sameSources && !drawnRows[static_cast<size_t>(y)])
                continue;
            std::memcpy(row.data(), canvas.constScanLine(y), rowBytes);
            if (colours)
                colourRow(row.data(), y, width, *colours);
            if (std::memcmp(row.data(), current.constScanLine(y), rowBytes) == 0)
                continue;
            std::memcpy(result.picture().scanLine(y), row.data(), rowBytes);
            result.refreshRow(y);
        }
        result.markShownCurrent();
    }
    from.result = result.picture().cacheKey();
    from.colours = coloursKey;
}

// The text layer: white, and the lines over it in order. Only the rows that a changed line
// covers, before or now, are made again. Returns which rows were.
std::vector<char> drawLines(QImage& canvas, const QString& family, const QFont& font, LineCache& cache,
                            const std::array<std::optional<PreviewLine>, 4>& lines, DrawnFrom& from) {
    const int height = canvas.height();
    std::vector<char> rows(static_cast<size_t>(height), 0);
    const bool whole = canvas.cacheKey() != from.canvas || family != from.family;
    const auto mark = [&](const QRect& r) {
        for (int y = std::max(0, r.top()); y <= std::min(height - 1, r.bottom()); ++y)
            rows[static_cast<size_t>(y)] = 1;
    };
    std::array<std::shared_ptr<const LineCache::Line>, 4> drawn;
    for (size_t i = 0; i < 4; ++i) {
        const QString text = lines[i] ? lines[i]->text : QString();
        const QPoint origin = lines[i] ? lines[i]->origin : QPoint();
        if (lines[i])
            drawn[i] = cache.line(font, {family, text, origin, canvas.size()});
        const QRect rect = drawn[i] ? drawn[i]->rect() : QRect();
        if (whole || text != from.texts[i] || origin != from.origins[i]) {
            mark(from.rects[i]);
            mark(rect);
        }
        from.texts[i] = text;
        from.origins[i] = origin;
        from.rects[i] = rect;
    }
    if (whole)
        std::fill(rows.begin(), rows.end(), 1);
    const int width = canvas.width();
    for (int top = 0; top < height;) {
        if (!rows[static_cast<size_t>(top)]) {
            ++top;
            continue;
        }
        int bottom = top;
        while (bottom < height && rows[static_cast<size_t>(bottom)])
            ++bottom;
        for (int y = top; y < bottom; ++y)
            std::fill_n(reinterpret_cast<QRgb*>(canvas.scanLine(y)), width, QRgb(0xFFFFFFFF));
        for (const auto& line : drawn)
            if (line)
                LineCache::putOver(canvas, *line, top, bottom);
        top = bottom;
    }
    from.canvas = canvas.cacheKey();
    from.family = family;
    return rows;
}

// The doubled layer: the text box enlarged and the result doubled over what it held. Made
// again only for the rows whose result row changed, unless anything else did.
void updateDoubled(TForm3& preview) {
    static EnlargedBox enlargedBox;
    Layer& layer = preview.scale2x;
    QImage& doubled = layer.picture();
    const QImage& result = preview.desti.picture();
    if (doubled.size() != result.size() * 2 || result.format() != QImage::Format_RGB32) {
        if (preview.boxme.hasPicture())
            enlargeOnto(doubled, preview.boxme.enlargeSource(), preview.boxme.transparentColour());
        enlargeOnto(doubled, result, preview.desti.transparentColour());
        layer.refresh();
        preview.doubledFrom = {};
        return;
    }
    const QImage box = preview.boxme.hasPicture() ? enlargedBox.of(preview.boxme.enlargeSource(),
                                                                 preview.boxme.transparentColour(), doubled.size())
                                                  : QImage();
    DoubledFrom& from = preview.doubledFrom;
    const qint64 boxSource = box.isNull() ? 0 : preview.boxme.enlargeSource().cacheKey();
    const QRgb boxKey = box.isNull() ? 0 : preview.boxme.transparentColour();
    const QRgb resultKey = preview.desti.transparentColour();
    const bool whole = !layer.shownIsCurrent() || from.doubled != doubled.cacheKey() || from.result.size() != result.size() ||
                       from.box != boxSource || from.boxKey != boxKey || from.resultKey != resultKey;
    if (whole)
        from = {0, QImage(result.size(), QImage::Format_RGB32), boxSource, boxKey, resultKey};
    const auto rowBytes = static_cast<size_t>(result.width()) * sizeof(QRgb);
    for (int y = 0; y < result.height(); ++y) {
        if (!whole && std::memcmp(result.constScanLine(y), from.result.constScanLine(y), rowBytes) == 0)
            continue;
        for (int t = 2 * y; t < 2 * y + 2; ++t) {
            pixels::doubleRow(reinterpret_cast<QRgb*>(doubled.scanLine(t)),
                              box.isNull() ? nullptr : reinterpret_cast<const QRgb*>(box.constScanLine(t)),
                              reinterpret_cast<const QRgb*>(result.constScanLine(y)), result.width(),
                              from.resultKey);
            if (!whole)
                layer.refreshRow(t);
        }
        std::memcpy(from.result.scanLine(y), result.constScanLine(y), rowBytes);
    }
    if (whole)
        layer.refresh();
    else
        layer.markShownCurrent();
    from.doubled = doubled.cacheKey();
}

}  // namespace

QFont previewTextFont(const QString& family) {
    QFont font = windowsFont(family, previewPoints);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

std::optional<PreviewLine> layOutLine(const std::u16string& line, int index, const RenderSettings& settings,
                                      int ascent, TraceSink* trace) {
    return layOutVisible(visibleText(line, trace), index, settings, ascent);
}

std::optional<PreviewLine> layOutVisible(const std::u16string& visible, int index, const RenderSettings& settings,
                                         int ascent) {
    const std::int32_t length = strToInt(toU16(settings.lineLength));
    const std::u16string cut = cutText(visible, length);
    const int n = halfWidthCells(cut, CodePage::system());
    const int spaces = leadingSpaces(n, length, n >= 1 ? strToInt(toU16(settings.alignment)) : 0);
    if (cut.empty())
        return std::nullopt;
    const QString text =
        QString(spaces, u' ') + QString::fromUtf16(cut.data(), static_cast<qsizetype>(cut.size()));
    const int x = settings.lineLength == u"38" ? 70 : 4;
    return PreviewLine{text, QPoint(x, 16 * index + 8 + ascent), spaces};
}

void renderPreview(TForm3& preview, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                   TraceSink* trace) {
    if (!settings.active)
        return;

    static LineCache drawnLines;
    // The font is looked up again only when the family changes.
    static QString family;
    static QFont font;
    static int ascent = 0;
    if (family != preview.previewFont() || family.isNull()) {
        family = preview.previewFont();
        font = previewTextFont(family);
        ascent = QFontMetrics(font).ascent();
    }
    if (settings.game) {
        // The game's look is a picture of its own, shown instead of the layers, which keep
        // what they hold for when the look is switched off.
        QImage message;
        const auto show = qScopeGuard([&] { preview.showGameLook(message, settings.scale2x); });
        drawGameMessage(*settings.game, lines, settings, font, trace, message);
        return;
    }
    // Every line is laid out first: a setting that is no number ends the run at its line,
    // with the lines before it drawn, as drawing line by line would leave them.
    std::array<std::optional<PreviewLine>, 4> laidOut;
    std::exception_ptr failure;
    try {
        for (size_t i = 0; i < 4; ++i)
            laidOut[i] = layOutLine(lines[i], static_cast<int>(i), settings, ascent, trace);
    } catch (...) {
        failure = std::current_exception();
    }
    QImage& canvas = preview.drawme.picture();
    const std::vector<char> drawnRows = drawLines(canvas, family, font, drawnLines, laidOut, preview.drawnFrom);
    if (failure)
        std::rethrow_exception(failure);

    updateResult(preview.desti, canvas, preview.drawme.setTransparent(),
                 !settings.plain && preview.cala.hasPicture() ? &preview.cala.picture() : nullptr, drawnRows,
                 preview.drawnFrom);
    if (settings.scale2x)
        updateDoubled(preview);
    preview.layersChanged();
}

}  // namespace zeilwerk
