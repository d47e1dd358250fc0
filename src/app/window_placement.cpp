#include "app/window_placement.h"

#include "app/input_window.h"
#include "message/toolbar_window.h"
#include "preview/preview_window.h"
#include "settings/ini_file.h"
#include "settings/option_window.h"

#include <QGuiApplication>
#include <QScreen>

namespace zeilwerk {
namespace {

QSize virtualDesktop() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualSize() : QSize(0, 0);
}

// Window geometry as the system counts it: outer frame, in desktop pixels.
int left(const ToolWindow* w) { return w->outerGeometry().x(); }
int top(const ToolWindow* w) { return w->outerGeometry().y(); }
int width(const ToolWindow* w) { return w->outerGeometry().width(); }
int height(const ToolWindow* w) { return w->outerGeometry().height(); }
void setLeft(ToolWindow* w, int x) { w->moveOuterTo(QPoint(x, top(w))); }
void setTop(ToolWindow* w, int y) { w->moveOuterTo(QPoint(left(w), y)); }

// The window layout that both the arrangement and the defaults of a restore follow.
struct Layout {
    const Windows& w;
    int inputTop() const { return virtualDesktop().height() / 2 - height(w.input); }
    int inputLeft() const { return virtualDesktop().width() / 2 - width(w.input); }
    int optionTop() const { return top(w.input); }
    int optionLeft() const { return left(w.input) + width(w.input) + 8; }
    int previewTop() const { return top(w.input) + height(w.input) + 8; }
    int previewLeft() const { return left(w.input) + width(w.input) - width(w.preview); }
};

}  // namespace

void arrangeWindows(const Windows& w) {
    const Layout layout{w};
    setTop(w.input, layout.inputTop());
    setLeft(w.input, layout.inputLeft());
    setTop(w.options, layout.optionTop());
    setLeft(w.options, layout.optionLeft());
    setTop(w.preview, layout.previewTop());
    setLeft(w.preview, layout.previewLeft());
    setTop(w.toolbar, top(w.input) - height(w.toolbar) - 8);
    setLeft(w.toolbar, left(w.input));
}

void restorePositions(const Windows& w, const IniFile& file) {
    const Layout layout{w};
    setTop(w.input, file.readNumber("fenster", "eingabe_top", layout.inputTop()));
    setLeft(w.input, file.readNumber("fenster", "eingabe_left", layout.inputLeft()));
    setTop(w.options, file.readNumber("fenster", "optn_top", layout.optionTop()));
    setLeft(w.options, file.readNumber("fenster", "optn_left", layout.optionLeft()));
    setTop(w.preview, file.readNumber("fenster", "vorschau_top", layout.previewTop()));
    setLeft(w.preview, file.readNumber("fenster", "vorschau_left", layout.previewLeft()));
    setTop(w.toolbar, file.readNumber("fenster", "tool_top", top(w.input)));
    setLeft(w.toolbar, file.readNumber("fenster", "tool_left", left(w.input) - width(w.toolbar) - 8));
}

void appendPositions(const Windows& w, std::vector<IniEntry>& entries) {
    const auto add = [&](const char* key, int value) { entries.push_back({"fenster", key, std::to_string(value)}); };
    add("eingabe_top", top(w.input));
    add("eingabe_left", left(w.input));
    add("optn_top", top(w.options));
    add("optn_left", left(w.options));
    add("vorschau_top", top(w.preview));
    add("vorschau_left", left(w.preview));
    add("tool_top", top(w.toolbar));
    add("tool_left", left(w.toolbar));
}

}  // namespace zeilwerk
