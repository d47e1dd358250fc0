#pragma once

#include <QRect>
#include <QWidget>

namespace zeilwerk {

// The common frame of the four windows: a fixed-size tool window in Tahoma 8 point on the
// button face, which snaps to the screen edges once it has been shown.
class ToolWindow : public QWidget {
public:
    // The main window gets a normal frame with a close button; the others have none.
    ToolWindow(const QString& caption, QSize clientSize, bool mainWindow);

    void setClientSize(QSize size);
    // Window geometry as the system counts it: the outer frame in desktop pixels.
    QRect outerGeometry() const { return frameGeometry(); }
    void moveOuterTo(QPoint topLeft) { move(topLeft); }

    // Switches stay-on-top on or off, keeping the window where it is and as it is shown.
    void setStayOnTop(bool onTop);

protected:
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool m_shownOnce = false;
    bool m_snapping = false;
};

// The outer rectangle moved onto an edge that lies less than 10 pixels away: the origin
// on the left and top, the work area on the right and bottom; each test on the result of
// the one before.
QRect snapToEdges(QRect outer, QRect workArea);

}  // namespace zeilwerk
