#include "windows/preview/line_cache.h"

#include "windows/preview/pixels.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace zeilwerk {

std::shared_ptr<const LineCache::Line> LineCache::line(const QFont& font, const Key& key) {
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

void LineCache::putOver(QImage& canvas, const Line& line, int top, int bottom) {
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

LineCache::Line LineCache::drawn(const QFont& font, const Key& key) {
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

}  // namespace zeilwerk
