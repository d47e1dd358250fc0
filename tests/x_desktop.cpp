#include "x_desktop.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QThread>

#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <memory>
#include <unistd.h>

namespace zeilwerk::test {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

}  // namespace

bool waitFor(const std::function<bool()>& condition, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (condition())
            return true;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return condition();
}

XDesktop::XDesktop(QSize screen) {
    // -displayfd: the server picks a free display and names it, so tests may run side by side.
    m_server.start("Xvfb", {"-displayfd", "1", "-screen", "0",
                            QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()), "-nolisten", "tcp"});
    if (!m_server.waitForStarted(5000) || !waitFor([&] { return m_server.canReadLine(); }, 10000))
        return;
    m_display = u':' + QString::fromLatin1(m_server.readLine()).trimmed();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", m_display);
    m_windowManager.setProcessEnvironment(env);
    m_windowManager.setStandardOutputFile(QProcess::nullDevice());
    m_windowManager.setStandardErrorFile(QProcess::nullDevice());
    m_windowManager.start("openbox", {"--sm-disable"});

    xcb_connection_t* c = xcb_connect(m_display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    m_connection = c;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const bool managed = waitFor([&] { return !property(m_root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW).empty(); });
    if (!managed) {
        xcb_disconnect(c);
        m_connection = nullptr;
    }
}

XDesktop::~XDesktop() {
    if (m_connection)
        xcb_disconnect(m_connection);
    for (QProcess* p : {&m_windowManager, &m_server}) {
        p->terminate();
        if (!p->waitForFinished(3000))
            p->kill();
        p->waitForFinished(3000);
    }
}

xcb_atom_t XDesktop::atom(const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::vector<uint32_t> XDesktop::property(xcb_window_t w, const char* name, xcb_atom_t type) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, w, atom(name), type, 0, 1024), nullptr));
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(values, values + reply->value_len);
}

QString XDesktop::title(xcb_window_t w) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, w, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 0, 256),
        nullptr));
    if (!reply)
        return {};
    return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
}

std::optional<xcb_window_t> XDesktop::window(const QString& wanted) {
    for (uint32_t w : property(m_root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW))
        if (title(w) == wanted)
            return w;
    return std::nullopt;
}

QRect XDesktop::clientRect(xcb_window_t w) {
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, w), nullptr));
    const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, w, m_root, 0, 0), nullptr));
    if (!geometry || !origin)
        return {};
    return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

QMargins XDesktop::frame(xcb_window_t w) {
    const std::vector<uint32_t> e = property(w, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL);
    if (e.size() != 4)
        return {};
    return QMargins(static_cast<int>(e[0]), static_cast<int>(e[2]), static_cast<int>(e[1]), static_cast<int>(e[3]));
}

bool XDesktop::viewable(xcb_window_t w) {
    const Reply<xcb_get_window_attributes_reply_t> a(
        xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, w), nullptr));
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::optional<xcb_window_t> XDesktop::activeWindow() {
    const std::vector<uint32_t> active = property(m_root, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
    if (active.empty() || active[0] == XCB_WINDOW_NONE)
        return std::nullopt;
    return active[0];
}

bool XDesktop::hasState(xcb_window_t w, const char* state) {
    const xcb_atom_t wanted = atom(state);
    for (uint32_t s : property(w, "_NET_WM_STATE", XCB_ATOM_ATOM))
        if (s == wanted)
            return true;
    return false;
}

void XDesktop::sendToRoot(xcb_window_t w, const char* type, std::vector<uint32_t> data) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = w;
    message.type = atom(type);
    for (size_t i = 0; i < data.size() && i < 5; ++i)
        message.data.data32[i] = data[i];
    xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(m_connection);
}

void XDesktop::requestClose(xcb_window_t w) {
    // Source 2: a pager or task bar, which window managers obey without question.
    sendToRoot(w, "_NET_CLOSE_WINDOW", {XCB_CURRENT_TIME, 2});
}

void XDesktop::requestMinimise(xcb_window_t w) {
    const uint32_t iconic = 3;
    sendToRoot(w, "WM_CHANGE_STATE", {iconic});
}

QImage XDesktop::grab(QRect area) {
    const Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, static_cast<int16_t>(area.x()),
                      static_cast<int16_t>(area.y()), static_cast<uint16_t>(area.width()),
                      static_cast<uint16_t>(area.height()), ~0u),
        nullptr));
    if (!image)
        return {};
    // Depth 24 arrives as 32 bits a pixel, blue first: Qt's RGB32 on a little-endian machine.
    return QImage(xcb_get_image_data(image.get()), area.width(), area.height(), QImage::Format_RGB32).copy();
}

void XDesktop::xdotool(const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", m_display);
    p.setProcessEnvironment(env);
    p.start("xdotool", arguments);
    p.waitForFinished(10000);
}

void XDesktop::click(QPoint at) {
    xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

void XDesktop::drag(QPoint from, QPoint to) {
    QStringList steps = {"mousemove", "--sync", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"};
    // In steps, as a hand moves, so the window manager sees a drag and not a click.
    for (int i = 1; i <= 4; ++i) {
        const QPoint p = from + (to - from) * i / 4;
        steps << "sleep" << "0.05" << "mousemove" << "--sync" << QString::number(p.x()) << QString::number(p.y());
    }
    steps << "sleep" << "0.05" << "mouseup" << "1";
    xdotool(steps);
}

void XDesktop::hover(QPoint at) {
    xdotool({"mousemove", "--sync", QString::number(at.x() - 3), QString::number(at.y())});
    xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())});
}

void XDesktop::wheelDown(QPoint at, int clicks) {
    hover(at);
    xdotool({"click", "--repeat", QString::number(clicks), "--delay", "30", "5"});
}

void XDesktop::type(const QString& text) {
    xdotool({"type", "--delay", "40", text});
}

void XDesktop::key(const QString& keys) {
    xdotool(QStringList{"key", "--delay", "40"} + keys.split(u' ', Qt::SkipEmptyParts));
}

RunningProgram::RunningProgram(XDesktop& desktop, const std::filesystem::path& folder)
    : RunningProgram(desktop, folder, folder / "zeilwerk", {}, false) {}

RunningProgram::RunningProgram(XDesktop& desktop, const std::filesystem::path& folder,
                               const std::filesystem::path& program, const QStringList& environment, bool asNobody)
    : m_desktop(desktop) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", desktop.display());
    env.insert("QT_QPA_PLATFORM", "xcb");
    for (const QString& variable : environment)
        env.insert(variable.section('=', 0, 0), variable.section('=', 1));
    m_process.setProcessEnvironment(env);
    m_process.setWorkingDirectory(QString::fromStdString(folder.string()));
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QString::fromStdString((folder / "stderr.txt").string()));
    if (asNobody)
        m_process.setChildProcessModifier([] {
            constexpr gid_t nogroup = 65534;
            constexpr uid_t nobody = 65534;
            if (::setgroups(0, nullptr) != 0 || ::setgid(nogroup) != 0 || ::setuid(nobody) != 0)
                ::_exit(126);
        });
    m_process.start(QString::fromStdString(program.string()), {});
}

RunningProgram::~RunningProgram() {
    if (running()) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool RunningProgram::waitUntilStarted() {
    const bool shown = waitFor([&] {
        const auto i = m_desktop.window("Texteingabe");
        const auto o = m_desktop.window("Optionen");
        const auto p = m_desktop.window("Textvorschau");
        const auto t = m_desktop.window("Werkzeuge");
        if (!i || !o || !p || !t)
            return false;
        input = *i, options = *o, preview = *p, toolbar = *t;
        for (xcb_window_t w : {input, options, preview, toolbar})
            if (!m_desktop.viewable(w))
                return false;
        return m_desktop.activeWindow() == input;
    });
    // Let the last placements and paints settle.
    QThread::msleep(300);
    return shown;
}

bool RunningProgram::closeAndWait() {
    m_desktop.requestClose(input);
    const bool ended = m_process.waitForFinished(10000);
    waitFor([&] { return !m_desktop.window("Texteingabe"); }, 3000);
    return ended;
}

}  // namespace zeilwerk::test
