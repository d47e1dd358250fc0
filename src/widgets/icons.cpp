#include "widgets/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <functional>

namespace zeilwerk {
namespace {

constexpr int iconSize = 22;

QIcon drawn(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(iconSize, iconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return QIcon(pixmap);
}

void drawChip(QPainter& p, QRectF body) {
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(30, 110, 60));
    p.drawRect(body);
    p.setPen(QPen(QColor(200, 170, 60), 1));
    const int legs = std::max(2, static_cast<int>(body.width() / 3));
    for (int i = 0; i < legs; ++i) {
        const double x = body.left() + (i + 0.5) * body.width() / legs;
        p.drawLine(QPointF(x, body.top() - 2), QPointF(x, body.top()));
        p.drawLine(QPointF(x, body.bottom()), QPointF(x, body.bottom() + 2));
    }
}

// The small chip in the lower right corner of a variable form.
void drawSmallChip(QPainter& p) {
    drawChip(p, QRectF(13.5, 15.5, 7, 4));
}

}  // namespace

QIcon paintPotIcon(bool withChip) {
    return drawn([withChip](QPainter& p) {
        p.setPen(QPen(QColor(70, 70, 70), 1));
        p.setBrush(QColor(190, 190, 200));
        p.drawRoundedRect(QRectF(3.5, 7.5, 12, 12), 2, 2);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 3.5, 10, 9), 0, 180 * 16);
        const QColor colours[] = {QColor(220, 30, 30), QColor(250, 200, 0), QColor(30, 160, 60), QColor(30, 90, 220)};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            p.setBrush(colours[i]);
            p.drawRect(QRectF(4.5 + 2.5 * i, 8.5, 2.5, 4));
        }
        p.setBrush(colours[0]);
        p.drawEllipse(QRectF(15, 12, 4, 5));
        if (withChip)
            drawSmallChip(p);
    });
}

QIcon stopwatchIcon(bool withChip) {
    return drawn([withChip](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(3, 5, 14, 14));
        p.setBrush(QColor(60, 60, 60));
        p.drawRect(QRectF(8.5, 2, 3, 2));
        p.setPen(QPen(QColor(200, 0, 0), 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 12), QPointF(10, 7.5));
        p.drawLine(QPointF(10, 12), QPointF(13, 13.5));
        if (withChip)
            drawSmallChip(p);
    });
}

QIcon identityCardIcon(bool withChip) {
    return drawn([withChip](QPainter& p) {
        p.setPen(QPen(QColor(80, 80, 80), 1));
        p.setBrush(QColor(245, 235, 200));
        p.drawRoundedRect(QRectF(1.5, 4.5, 19, 13), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 90, 170));
        p.drawEllipse(QRectF(4, 6.5, 5, 5));
        p.drawChord(QRectF(2.5, 11, 8, 7), 0, 180 * 16);
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.drawLine(QPointF(11.5, 8.5), QPointF(18.5, 8.5));
        p.drawLine(QPointF(11.5, 11.5), QPointF(17.5, 11.5));
        if (withChip)
            drawSmallChip(p);
    });
}

QIcon memoryChipIcon() {
    return drawn([](QPainter& p) { drawChip(p, QRectF(3.5, 6.5, 15, 9)); });
}

QIcon enterKeyIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(80, 80, 80), 1));
        p.setBrush(QColor(235, 235, 235));
        QPainterPath key(QPointF(8.5, 2.5));
        key.lineTo(19.5, 2.5);
        key.lineTo(19.5, 19.5);
        key.lineTo(3.5, 19.5);
        key.lineTo(3.5, 10.5);
        key.lineTo(8.5, 10.5);
        key.closeSubpath();
        p.drawPath(key);
        p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath arrow(QPointF(16, 6));
        arrow.lineTo(16, 15);
        arrow.lineTo(7, 15);
        p.drawPath(arrow);
        p.drawLine(QPointF(7, 15), QPointF(10, 12));
        p.drawLine(QPointF(7, 15), QPointF(10, 18));
    });
}

QIcon arrowDownIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(0, 40, 140), 1));
        p.setBrush(QColor(40, 100, 220));
        p.drawRoundedRect(QRectF(1.5, 1.5, 19, 19), 3, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        QPainterPath arrow(QPointF(8, 4));
        arrow.lineTo(14, 4);
        arrow.lineTo(14, 11);
        arrow.lineTo(17.5, 11);
        arrow.lineTo(11, 18);
        arrow.lineTo(4.5, 11);
        arrow.lineTo(8, 11);
        arrow.closeSubpath();
        p.drawPath(arrow);
    });
}

QIcon crossIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(200, 0, 0), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(17, 17));
        p.drawLine(QPointF(17, 5), QPointF(5, 17));
    });
}

QIcon checkIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(0, 150, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath path(QPointF(4, 12));
        path.lineTo(9, 17);
        path.lineTo(18, 5);
        p.drawPath(path);
    });
}

QIcon infoIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(0, 40, 140), 1));
        p.setBrush(QColor(30, 90, 220));
        p.drawEllipse(QRectF(1.5, 1.5, 19, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(9.5, 4.5, 3, 3));
        p.drawRoundedRect(QRectF(9.5, 9, 3, 9), 1, 1);
    });
}

QIcon envelopeIcon() {
    return drawn([](QPainter& p) {
        // The letter sticks out of the open envelope.
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 2.5, 11, 12));
        p.setPen(QPen(QColor(60, 60, 160), 1));
        for (int y = 5; y <= 11; y += 2)
            p.drawLine(QPointF(7.5, y + 0.5), QPointF(14.5, y + 0.5));
        p.setPen(QPen(QColor(120, 90, 30), 1));
        p.setBrush(QColor(235, 200, 120));
        p.drawRect(QRectF(1.5, 9.5, 19, 10));
        p.drawLine(QPointF(1.5, 9.5), QPointF(11, 15.5));
        p.drawLine(QPointF(20.5, 9.5), QPointF(11, 15.5));
    });
}

QIcon alignmentIcon(int alignment) {
    return drawn([alignment](QPainter& p) {
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 1.5, 15, 19));
        p.setPen(QPen(Qt::black, 1));
        const int lengths[] = {11, 7, 9, 5, 10};
        for (int i = 0; i < 5; ++i) {
            const int len = lengths[i];
            const int left = alignment == 0 ? 5 : alignment == 1 ? 5 + (11 - len) / 2 : 16 - len;
            const double y = 4.5 + 3 * i;
            p.drawLine(QPointF(left, y), QPointF(left + len, y));
        }
    });
}

}  // namespace zeilwerk
