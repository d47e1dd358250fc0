#include "app/tool_window.h"

#include "platform/fonts.h"

#include <QGuiApplication>
#include <QMoveEvent>
#include <QScreen>

#include <cstdlib>

namespace zeilwerk {

namespace {
constexpr int snapDistance = 10;
}

QRect snapToEdges(QRect outer, QRect workArea) {
    if (std::abs(outer.left()) < snapDistance)
        outer.moveLeft(0);
    if (std::abs(outer.top()) < snapDistance)
        outer.moveTop(0);
    const int workRight = workArea.x() + workArea.width();
    const int workBottom = workArea.y() + workArea.height();
    if (std::abs(outer.x() + outer.width() - workRight) < snapDistance)
        outer.moveLeft(workRight - outer.width());
    if (std::abs(outer.y() + outer.height() - workBottom) < snapDistance)
        outer.moveTop(workBottom - outer.height());
    return outer;
}

ToolWindow::ToolWindow(const QString& caption, QSize clientSize, bool mainWindow) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    flags |= mainWindow ? (Qt::Window | Qt::WindowCloseButtonHint) : Qt::Tool;
    setWindowFlags(flags);
    setWindowTitle(caption);
    setFont(windowsFont(QStringLiteral("Tahoma"), 8));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setClientSize(clientSize);
    // The main window counts as shown from its creation.
    m_shownOnce = mainWindow;
}

void ToolWindow::setClientSize(QSize size) {
    setFixedSize(size);
}

void ToolWindow::setStayOnTop(bool onTop) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    const QPoint where = pos();
    const bool visible = isVisible();
    // Changing the flags recreates the native window and hides it: put it back as it was.
    m_snapping = true;
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    move(where);
    if (visible)
        show();
    m_snapping = false;
}

void ToolWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_shownOnce = true;
}

void ToolWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!m_shownOnce || m_snapping)
        return;
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect outer = frameGeometry();
    const QRect snapped = snapToEdges(outer, screen->availableGeometry());
    if (snapped.topLeft() != outer.topLeft()) {
        m_snapping = true;
        move(snapped.topLeft());
        m_snapping = false;
    }
}

}  // namespace zeilwerk
