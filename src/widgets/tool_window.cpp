#include "widgets/tool_window.h"

#include "look/fonts.h"
#include "widgets/desktop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMoveEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
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

ToolWindow::ToolWindow(const QString& caption, QSize clientSize, bool mainWindow) : m_mainWindow(mainWindow) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    flags |= mainWindow ? (Qt::Window | Qt::WindowCloseButtonHint) : Qt::Tool;
    setWindowFlags(flags);
    setWindowTitle(caption);
    setFont(windowsFont(QStringLiteral("Tahoma"), 8));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setClientSize(clientSize);
    // Before the window manager is asked for the frame, so that it answers for this frame.
    requestTitleBarButtons(this, mainWindow);
    // The main window counts as shown from its creation.
    m_shownOnce = mainWindow;
}

void ToolWindow::makeResizable(QSize minimum) {
    m_resizable = true;
    setWindowFlag(Qt::WindowCloseButtonHint, true);
    setMinimumSize(minimum);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    requestTitleBarButtons(this, true, true);
}

void ToolWindow::setClientSize(QSize size) {
    if (m_resizable)
        resize(size);
    else
        setFixedSize(size);
}

QMargins ToolWindow::frame() const {
    return frameExtents(const_cast<ToolWindow*>(this));
}

QRect ToolWindow::outerGeometry() const {
    return geometry().marginsAdded(frame());
}

void ToolWindow::moveOuterTo(QPoint topLeft) {
    m_placedFrame = frame();
    if (m_shownOnce) {
        const QSize outerSize = size().grownBy(m_placedFrame);
        topLeft = snapToEdges(QRect(topLeft, outerSize), workArea()).topLeft();
    }
    // Placed by the client corner: the window manager keeps it there and frames it around,
    // whatever gravity it would give a frame position.
    setGeometry(QRect(topLeft + QPoint(m_placedFrame.left(), m_placedFrame.top()), size()));
}

QRect ToolWindow::workArea() const {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void ToolWindow::setStayOnTop(bool onTop) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    QWindow* native = windowHandle();
    if (!native) {
        setWindowFlags(flags);
        return;
    }
    // Changed on the native window in place: recreating it would hide it, move it by its
    // frame and undo the palettes of its controls.
    overrideWindowFlags(flags);
    native->setFlags(flags);
    requestTitleBarButtons(this, m_mainWindow || m_resizable, m_resizable);
}

void ToolWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_shownOnce = true;
}

void ToolWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A tool window minimised on its own would have no task-bar entry to come back from;
    // with the main window it goes down and comes back as the window manager does it.
    if (event->type() == QEvent::WindowStateChange && !m_mainWindow && isMinimized() && !mainWindowMinimized())
        QTimer::singleShot(0, this, [this] {
            if (isMinimized() && !mainWindowMinimized())
                showNormal();
        });
}

bool ToolWindow::mainWindowMinimized() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](QWidget* w) {
        const auto* window = dynamic_cast<ToolWindow*>(w);
        return window && window->m_mainWindow && window->isMinimized();
    });
}

void ToolWindow::closeEvent(QCloseEvent* event) {
    // Whatever the window manager offers, only the main window and a resizable one close.
    if (m_mainWindow || m_resizable)
        QWidget::closeEvent(event);
    else
        event->ignore();
}

void ToolWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Only a window on the screen is moved by the user; while the window manager frames a
    // window, its client passes through positions of no meaning.
    if (m_snapping || !windowHandle() || !windowHandle()->isExposed())
        return;
    // The outer corner as placed: should the frame have come out other than foreseen, the
    // corner stays where the program put it.
    const QPoint outer = geometry().topLeft() - QPoint(m_placedFrame.left(), m_placedFrame.top());
    const QRect snapped = snapToEdges(QRect(outer, size().grownBy(m_placedFrame)), workArea());
    if (frame() != m_placedFrame || snapped.topLeft() != outer) {
        m_snapping = true;
        moveOuterTo(outer);
        m_snapping = false;
    }
}

}  // namespace zeilwerk
