#include "preview/rendering.h"

#include "platform/qt_text.h"
#include "message/scanner.h"
#include "platform/code_page.h"
#include "platform/fonts.h"
#include "platform/number.h"
#include "preview/layout.h"
#include "preview/preview_window.h"

#include <QFontMetrics>
#include <QPainter>

namespace zeilwerk {
namespace {

constexpr int previewPoints = 9;

// Each channel of the result ORed with the colour layer lying on it from (8, 8).
void colourResult(QImage& result, const QImage& colours) {
    constexpr int offset = 8;
    for (int y = offset; y < result.height() && y - offset < colours.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        const auto* pattern = reinterpret_cast<const QRgb*>(colours.constScanLine(y - offset));
        for (int x = offset; x < result.width() && x - offset < colours.width(); ++x)
            row[x] |= pattern[x - offset];
    }
}

// The source enlarged onto the whole target, nearest pixel, skipping the key colour.
void enlargeOnto(QImage& target, const QImage& source, QRgb key) {
    key &= 0xFFFFFF;
    const int tw = target.width();
    const int th = target.height();
    const int sw = source.width();
    const int sh = source.height();
    for (int y = 0; y < th; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(std::int64_t(y) * sh / th)));
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < tw; ++x) {
            const QRgb pixel = from[std::int64_t(x) * sw / tw];
            if ((pixel & 0xFFFFFF) != key)
                to[x] = pixel;
        }
    }
}

}  // namespace

void renderPreview(TForm3& preview, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                   TraceSink* trace) {
    if (!settings.active)
        return;

    QImage& canvas = preview.drawme.picture();
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        QFont font = windowsFont(preview.previewFont(), previewPoints);
        font.setStyleStrategy(QFont::NoAntialias);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(Qt::white);
        const int ascent = QFontMetrics(font).ascent();

        for (int i = 0; i < 4; ++i) {
            const std::u16string visible = visibleText(lines[i], trace);
            const std::int32_t length = strToInt(toU16(settings.lineLength));
            const std::u16string cut = cutText(visible, length);
            const int n = halfWidthCells(cut, CodePage::system());
            const int spaces = leadingSpaces(n, length, n >= 1 ? strToInt(toU16(settings.alignment)) : 0);
            if (cut.empty())
                continue;
            const QString text = QString(spaces, u' ') +
                                 QString::fromUtf16(cut.data(), static_cast<qsizetype>(cut.size()));
            const int x = settings.lineLength == u"38" ? 70 : 4;
            painter.drawText(QPoint(x, 16 * i + 8 + ascent), text);
        }
    }

    preview.desti.setPicture(canvas, preview.drawme.setTransparent());
    if (!settings.plain && preview.cala.hasPicture()) {
        colourResult(preview.desti.picture(), preview.cala.picture());
        preview.desti.refresh();
    }

    if (settings.scale2x) {
        QImage& doubled = preview.scale2x.picture();
        if (preview.boxme.hasPicture())
            enlargeOnto(doubled, preview.boxme.picture(), preview.boxme.transparentColour());
        enlargeOnto(doubled, preview.desti.picture(), preview.desti.transparentColour());
        preview.scale2x.refresh();
    }
    preview.layersChanged();
}

}  // namespace zeilwerk
