#include "windows/options/face_picker.h"

#include <QMouseEvent>
#include <QPainter>

namespace zeilwerk {

FacePicker::FacePicker(QWidget* parent) : QWidget(parent) {
    setFixedSize(4 * kCell + 1, 4 * kCell + 1);
    setCursor(Qt::PointingHandCursor);
}

void FacePicker::setFaceSet(const QImage& faceSet) {
    m_faceSet = faceSet;
    update();
}

void FacePicker::setChosen(int index) {
    if (index < 0 || index > 15 || index == m_chosen)
        return;
    m_chosen = index;
    update();
}

void FacePicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    for (int i = 0; i < 16; ++i) {
        const QRect cell((i % 4) * kCell, (i / 4) * kCell, kCell, kCell);
        if (!m_faceSet.isNull())
            painter.drawImage(cell.adjusted(1, 1, 0, 0), m_faceSet, QRect((i % 4) * 48, (i / 4) * 48, 48, 48));
        painter.setPen(palette().mid().color());
        painter.drawRect(cell);
    }
    painter.setPen(QPen(palette().highlight().color(), 2));
    painter.drawRect(QRect((m_chosen % 4) * kCell + 1, (m_chosen / 4) * kCell + 1, kCell - 1, kCell - 1));
}

void FacePicker::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int column = at.x() / kCell;
    const int row = at.y() / kCell;
    if (column < 0 || column > 3 || row < 0 || row > 3)
        return;
    setChosen(4 * row + column);
    if (onChosen)
        onChosen(m_chosen);
}

}  // namespace zeilwerk
