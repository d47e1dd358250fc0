#pragma once

#include <QRect>
#include <QWidget>

namespace zeilwerk {

// The common frame of the windows: a tool window in Tahoma 8 point on the button face, which
// snaps to the screen edges once it has been shown; fixed in size unless made resizable.
class ToolWindow : public QWidget {
public:
    // The main window gets a close button and ends the program when closed; the others have
    // no button and cannot be closed by the user.
    ToolWindow(const QString& caption, QSize clientSize, bool mainWindow);

    // A window the user resizes and closes (it hides), no smaller than minimum.
    void makeResizable(QSize minimum);
    bool resizable() const { return m_resizable; }

    void setClientSize(QSize size);
    // Window geometry as the system counts it: the outer frame in desktop pixels, title bar
    // included, also before the window is first shown.
    QRect outerGeometry() const;
    void moveOuterTo(QPoint topLeft);

    // Switches stay-on-top on or off, keeping the window where it is and as it is shown.
    void setStayOnTop(bool onTop);

protected:
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static bool mainWindowMinimized();
    QMargins frame() const;
    QRect workArea() const;

    bool m_mainWindow;
    bool m_resizable = false;
    QMargins m_placedFrame;   // the frame the last placement reckoned with
    bool m_shownOnce = false;
    bool m_snapping = false;
};

// The outer rectangle moved onto an edge that lies less than 10 pixels away: the origin
// on the left and top, the work area on the right and bottom; each test on the result of
// the one before.
QRect snapToEdges(QRect outer, QRect workArea);

}  // namespace zeilwerk
