#include "windows/preview/preview_renderer.h"

#include "core/message/layout.h"
#include "look/game_rendering.h"
#include "windows/preview/pixels.h"
#include "windows/preview/preview_window.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScopeGuard>

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

namespace zeilwerk {
namespace {


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
void updateDoubled(TForm3& preview, EnlargedBox& enlargedBox, DoubledFrom& doubledFrom) {
    Layer& layer = preview.scale2x;
    QImage& doubled = layer.picture();
    const QImage& result = preview.desti.picture();
    if (doubled.size() != result.size() * 2 || result.format() != QImage::Format_RGB32) {
        if (preview.boxme.hasPicture())
            enlargeOnto(doubled, preview.boxme.enlargeSource(), preview.boxme.transparentColour());
        enlargeOnto(doubled, result, preview.desti.transparentColour());
        layer.refresh();
        doubledFrom = {};
        return;
    }
    const QImage box = preview.boxme.hasPicture() ? enlargedBox.of(preview.boxme.enlargeSource(),
                                                                 preview.boxme.transparentColour(), doubled.size())
                                                  : QImage();
    DoubledFrom& from = doubledFrom;
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

const QImage& EnlargedBox::of(const QImage& box, QRgb key, QSize size) {
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

void PreviewRenderer::render(TForm3& preview, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                             TraceSink* trace) {
    if (!settings.active)
        return;

    // The font is looked up again only when the family changes.
    if (m_family != preview.previewFont() || m_family.isNull()) {
        m_family = preview.previewFont();
        m_font = previewTextFont(m_family);
        m_ascent = QFontMetrics(m_font).ascent();
    }
    if (settings.game) {
        // The game's look is a picture of its own, shown instead of the layers, which keep
        // what they hold for when the look is switched off.
        const auto show = qScopeGuard([&] { preview.showGameLook(m_gameMessage, settings.scale2x); });
        drawGameMessage(*settings.game, lines, settings, trace, m_gameMessage);
        return;
    }
    // Every line is laid out first: a setting that is no number ends the run at its line,
    // with the lines before it drawn, as drawing line by line would leave them.
    std::array<std::optional<PreviewLine>, 4> laidOut;
    std::exception_ptr failure;
    try {
        for (size_t i = 0; i < 4; ++i)
            laidOut[i] = layOutLine(lines[i], static_cast<int>(i), settings, m_ascent, trace);
    } catch (...) {
        failure = std::current_exception();
    }
    QImage& canvas = preview.drawme.picture();
    const std::vector<char> drawnRows = drawLines(canvas, m_family, m_font, m_lines, laidOut, m_drawnFrom);
    if (failure)
        std::rethrow_exception(failure);

    updateResult(preview.desti, canvas, preview.drawme.setTransparent(),
                 !settings.plain && preview.cala.hasPicture() ? &preview.cala.picture() : nullptr, drawnRows,
                 m_drawnFrom);
    if (settings.scale2x)
        updateDoubled(preview, m_enlargedBox, m_doubledFrom);
    preview.layersChanged();
}

void renderPreview(TForm3& preview, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                   TraceSink* trace) {
    preview.renderer.render(preview, lines, settings, trace);
}

}  // namespace zeilwerk
