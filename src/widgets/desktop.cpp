#include "widgets/desktop.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#if defined(ZEILWERK_X11)
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#endif

namespace zeilwerk {

#if defined(ZEILWERK_X11)
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* x11Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t rootWindow(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

std::optional<xcb_window_t> windowProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32 || reply->value_len != 1)
        return std::nullopt;
    return *static_cast<xcb_window_t*>(xcb_get_property_value(reply.get()));
}

// What the running window manager offers; looked up once, as window managers rarely change
// under a running program.
struct WindowManager {
    bool present = false;
    bool reportsFrame = false;
    bool answersFrameRequest = false;
    xcb_atom_t frameExtents = XCB_ATOM_NONE;
    xcb_atom_t requestFrameExtents = XCB_ATOM_NONE;
};

WindowManager lookUpWindowManager(xcb_connection_t* c) {
    WindowManager wm;
    const xcb_window_t root = rootWindow(c);
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    // A window manager names a window of its own, which names itself again.
    const std::optional<xcb_window_t> own = windowProperty(c, root, check);
    if (!own || windowProperty(c, *own, check) != own)
        return wm;
    wm.present = true;
    wm.frameExtents = atom(c, "_NET_FRAME_EXTENTS");
    wm.requestFrameExtents = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const Reply<xcb_get_property_reply_t> supported(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (supported && supported->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
        for (uint32_t i = 0; i < supported->value_len; ++i) {
            wm.reportsFrame |= atoms[i] == wm.frameExtents;
            wm.answersFrameRequest |= atoms[i] == wm.requestFrameExtents;
        }
    }
    return wm;
}

const WindowManager& windowManager(xcb_connection_t* c) {
    static const WindowManager wm = lookUpWindowManager(c);
    return wm;
}

std::optional<QMargins> readFrameExtents(xcb_connection_t* c, xcb_window_t w, xcb_atom_t frameExtents) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, frameExtents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!reply || reply->type != XCB_ATOM_CARDINAL || reply->format != 32 || reply->value_len != 4)
        return std::nullopt;
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    // The property's order is left, right, top, bottom.
    return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]), static_cast<int>(v[3]));
}

// Asks the window manager to set _NET_FRAME_EXTENTS on a window it has not framed yet, and
// waits briefly for the answer.
std::optional<QMargins> requestFrameExtents(xcb_connection_t* c, const WindowManager& wm, xcb_window_t w) {
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = w;
    request.type = wm.requestFrameExtents;
    xcb_send_event(c, 0, rootWindow(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c);
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(250);
    do {
        if (std::optional<QMargins> extents = readFrameExtents(c, w, wm.frameExtents))
            return extents;
        std::this_thread::sleep_for(milliseconds(1));
    } while (steady_clock::now() < deadline);
    return std::nullopt;
}

}  // namespace
#endif

QMargins frameExtents(QWidget* window) {
#if defined(ZEILWERK_X11)
    if (xcb_connection_t* c = x11Connection()) {
        const WindowManager& wm = windowManager(c);
        if (!wm.present)
            return QMargins();
        const auto w = static_cast<xcb_window_t>(window->winId());
        if (wm.reportsFrame) {
            if (std::optional<QMargins> extents = readFrameExtents(c, w, wm.frameExtents))
                return *extents;
            // Asked once per window: a window manager that does not answer costs the wait once.
            if (wm.answersFrameRequest && !window->property("zeilwerkFrameRequested").toBool()) {
                window->setProperty("zeilwerkFrameRequested", true);
                if (std::optional<QMargins> extents = requestFrameExtents(c, wm, w))
                    return *extents;
            }
        }
    }
#endif
    // Elsewhere the platform knows the frame of a window once the window exists.
    window->winId();
    const QWindow* native = window->windowHandle();
    return native ? native->frameMargins() : QMargins();
}

void requestTitleBarButtons([[maybe_unused]] QWidget* window, [[maybe_unused]] bool closeButton,
                            [[maybe_unused]] bool resizable) {
#if defined(ZEILWERK_X11)
    xcb_connection_t* c = x11Connection();
    if (!c)
        return;
    // _MOTIF_WM_HINTS: flags (functions and decorations given), functions, decorations,
    // input mode, status. Functions: move, and close and resize where wanted; decorations:
    // border and title, and the resize handles of a window that resizes.
    enum : uint32_t { hasFunctions = 1, hasDecorations = 2, functionResize = 2, functionMove = 4, functionClose = 32 };
    enum : uint32_t { decorBorder = 2, decorResizeHandle = 4, decorTitle = 8 };
    const uint32_t hints[5] = {hasFunctions | hasDecorations,
                               functionMove | (closeButton ? functionClose : 0u) | (resizable ? functionResize : 0u),
                               decorBorder | decorTitle | (resizable ? decorResizeHandle : 0u), 0, 0};
    const xcb_atom_t motif = atom(c, "_MOTIF_WM_HINTS");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), motif, motif, 32, 5,
                        hints);
    xcb_flush(c);
#endif
}

int largestFittingPercent(int available, int designed, int extra) {
    const std::int64_t room = std::int64_t(available) - extra;
    if (room < 0 || designed <= 0)
        return 0;
    const std::int64_t largest = (100 * (room + 1) - 1) / designed;
    return static_cast<int>(std::min<std::int64_t>(largest, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace zeilwerk
