#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

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

}  // namespace

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
