#include "look/stand_in_art.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace zeilwerk {
namespace {

// One of our symbols, drawn by paint into a 12 × 12 picture without smoothing.
GlyphMask drawnSymbol(const std::function<void(QPainter&)>& paint) {
    QImage picture(12, 12, QImage::Format_ARGB32);
    picture.fill(0);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        paint(painter);
    }
    std::array<GlyphMask, 52> one = symbolsFromSheet(picture);
    return one[0];
}

GlyphMask textSymbol(char32_t symbol) {
    return drawnSymbol([symbol](QPainter& p) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(11);
        font.setStyleStrategy(QFont::NoAntialias);
        p.setFont(font);
        p.drawText(QRect(0, 0, 12, 12), Qt::AlignCenter, QString::fromUcs4(&symbol, 1));
    });
}

}  // namespace

std::array<GlyphMask, 52> ownSymbols() {
    std::array<GlyphMask, 52> s;
    s[0] = drawnSymbol([](QPainter& p) {  // sword
        p.drawLine(9, 1, 3, 7);
        p.drawLine(10, 1, 4, 7);
        p.drawLine(1, 6, 5, 10);
        p.drawLine(2, 9, 0, 11);
    });
    s[1] = drawnSymbol([](QPainter& p) {  // shield
        p.drawPolygon(QPolygon({QPoint(1, 1), QPoint(10, 1), QPoint(10, 6), QPoint(6, 10), QPoint(5, 10), QPoint(1, 6)}));
        p.drawLine(5, 3, 5, 7);
        p.drawLine(3, 4, 8, 4);
    });
    const char32_t drawnAsText[] = {
        U'★', U'☀', U'☾', U'☿', U'♀', U'♁', U'♂', U'♃', U'♄', U'♅', U'♆',           // star, sun, moon, planets
        U'♈', U'♉', U'♊', U'♋', U'♌', U'♍', U'♎', U'♏', U'♐', U'♑', U'♒', U'♓',  // the zodiac
        U'☺', U'☹', U'☻',                                                              // three faces
    };
    size_t n = 2;
    for (char32_t c : drawnAsText)
        s[n++] = textSymbol(c);
    s[n++] = drawnSymbol([](QPainter& p) {  // sweat drop
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(6, 1), QPoint(9, 7), QPoint(6, 10), QPoint(3, 7)}));
    });
    s[n++] = drawnSymbol([](QPainter& p) {  // two drops
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(5, 5), QPoint(3, 7), QPoint(1, 5)}));
        p.drawPolygon(QPolygon({QPoint(8, 4), QPoint(10, 8), QPoint(8, 10), QPoint(6, 8)}));
    });
    for (char32_t c : {U'♡', U'♤', U'♢', U'♧', U'♥', U'♠', U'♦', U'♣', U'☠', U'✝'})
        s[n++] = textSymbol(c);
    s[n++] = drawnSymbol([](QPainter& p) {  // sun
        p.drawEllipse(3, 3, 5, 5);
        for (const QLine& ray : {QLine(5, 0, 5, 1), QLine(5, 10, 5, 11), QLine(0, 5, 1, 5), QLine(10, 5, 11, 5)})
            p.drawLine(ray);
    });
    s[n++] = drawnSymbol([](QPainter& p) {  // moon
        QPainterPath crescent;
        crescent.addEllipse(1, 1, 9, 9);
        QPainterPath bite;
        bite.addEllipse(4, 0, 8, 8);
        p.fillPath(crescent.subtracted(bite), Qt::black);
    });
    s[n++] = drawnSymbol([](QPainter& p) {  // dot
        p.setBrush(Qt::black);
        p.drawEllipse(4, 4, 3, 3);
    });
    for (char32_t c : {U'↑', U'↓', U'←', U'→', U'↖', U'↗', U'↙', U'↘', U'♪'})
        s[n++] = textSymbol(c);
    return s;
}

QImage ownSystemGraphic() {
    QImage system(160, 80, QImage::Format_ARGB32);
    system.fill(0);
    QPainter p(&system);
    // Wallpaper: a dark blue running lighter downwards.
    for (int y = 0; y < 32; ++y)
        p.fillRect(0, y, 32, 1, QColor(16, 24, 64 + 3 * y));
    // Frame: a light line two pixels in, its middle left undrawn.
    p.fillRect(32, 0, 32, 32, QColor(16, 24, 64));
    p.setPen(QColor(232, 232, 240));
    p.drawRect(33, 1, 29, 29);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(40, 8, 16, 16, Qt::transparent);
    // The arrow of a message that waits.
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(232, 232, 240));
    p.drawPolygon(QPolygon({QPoint(44, 17), QPoint(51, 17), QPoint(48, 21)}));
    p.fillRect(16, 32, 16, 16, QColor(8, 8, 16));  // the shadow
    const QColor colours[20] = {
        {248, 248, 248}, {160, 200, 248}, {248, 160, 112}, {144, 232, 128}, {248, 232, 112},
        {200, 160, 248}, {112, 224, 224}, {176, 176, 176}, {248, 120, 152}, {120, 144, 248},
        {248, 200, 160}, {96, 176, 96}, {216, 176, 64}, {232, 96, 64}, {160, 96, 200},
        {64, 160, 200}, {128, 128, 128}, {200, 80, 120}, {80, 96, 200}, {248, 248, 160},
    };
    for (int n = 0; n < 20; ++n) {
        // Lighter at the top of each cell, as System graphics usually are.
        const QRect cell(16 * (n % 10), 48 + 16 * (n / 10), 16, 16);
        for (int y = 0; y < 16; ++y)
            p.fillRect(cell.x(), cell.y() + y, 16, 1, colours[n].darker(100 + 3 * y));
    }
    return system;
}

}  // namespace zeilwerk
