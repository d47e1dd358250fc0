#pragma once

#include <QImage>
#include <QMargins>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <xcb/xcb.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace zeilwerk::test {

// A virtual X screen with a window manager (Xvfb and openbox), started and stopped by the
// test itself, and what a test asks of it from the X server's side.
class XDesktop {
public:
    explicit XDesktop(QSize screen);
    ~XDesktop();
    XDesktop(const XDesktop&) = delete;
    XDesktop& operator=(const XDesktop&) = delete;

    bool ready() const { return m_connection != nullptr; }
    const QString& display() const { return m_display; }

    // The managed top-level windows whose title is exactly this.
    std::optional<xcb_window_t> window(const QString& title);
    QString title(xcb_window_t w);
    QRect clientRect(xcb_window_t w);
    QMargins frame(xcb_window_t w);
    QRect outerRect(xcb_window_t w) { return clientRect(w).marginsAdded(frame(w)); }
    bool viewable(xcb_window_t w);
    std::optional<xcb_window_t> activeWindow();
    bool hasState(xcb_window_t w, const char* state);

    // What a user does through the window manager: ask a window to close, minimise it.
    void requestClose(xcb_window_t w);
    void requestMinimise(xcb_window_t w);

    // The screen's pixels in this rectangle.
    QImage grab(QRect area);

    // Mouse and keyboard through xdotool (XTEST), as a user would.
    void click(QPoint at);
    void drag(QPoint from, QPoint to);
    void hover(QPoint at);
    void wheelDown(QPoint at, int clicks);
    void type(const QString& text);
    void key(const QString& keys);

private:
    xcb_atom_t atom(const char* name);
    std::vector<uint32_t> property(xcb_window_t w, const char* name, xcb_atom_t type);
    void xdotool(const QStringList& arguments);
    void sendToRoot(xcb_window_t w, const char* type, std::vector<uint32_t> data);

    QProcess m_server;
    QProcess m_windowManager;
    QString m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
};

// The real program started from a folder of its own on that desktop.
class RunningProgram {
public:
    RunningProgram(XDesktop& desktop, const std::filesystem::path& folder);
    // An installed program, started in folder with these variables added, as the user
    // "nobody" when asked: root may write everywhere, nobody may not.
    RunningProgram(XDesktop& desktop, const std::filesystem::path& folder, const std::filesystem::path& program,
                   const QStringList& environment, bool asNobody);
    ~RunningProgram();

    // All four windows mapped and the input window active.
    bool waitUntilStarted();
    // Closes the input window as a user would and waits for the program to end.
    bool closeAndWait();
    bool running() const { return m_process.state() != QProcess::NotRunning; }

    xcb_window_t input = 0;
    xcb_window_t options = 0;
    xcb_window_t preview = 0;
    xcb_window_t toolbar = 0;

private:
    XDesktop& m_desktop;
    QProcess m_process;
};

// Waits, letting nothing else run, until the condition holds or the time is up.
bool waitFor(const std::function<bool()>& condition, int milliseconds = 10000);

}  // namespace zeilwerk::test
