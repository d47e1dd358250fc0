#include "app/window_placement.h"

#include "core/settings/ini_file.h"
#include "core/settings/startup_keys.h"
#include "widgets/tool_window.h"
#include "windows/input/input_window.h"
#include "windows/messages/messages_window.h"
#include "windows/options/option_window.h"
#include "windows/preview/preview_window.h"
#include "windows/toolbar/toolbar_window.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace zeilwerk {
namespace {

constexpr int gap = 8;

// How far a span must move to lie within [low, low + room); one longer than the room
// starts where the room starts, so its beginning (the title bar, the left edge) shows.
int shiftInto(int start, int length, int low, int room) {
    if (length > room || start < low)
        return low - start;
    return std::min(0, low + room - (start + length));
}

QRect inside(QRect r, QRect area) {
    return r.translated(shiftInto(r.x(), r.width(), area.x(), area.width()),
                        shiftInto(r.y(), r.height(), area.y(), area.height()));
}

QRect bounds(const GroupRects& rects) {
    QRect box = rects[0];
    for (const QRect& r : rects)
        box = box.united(r);
    return box;
}

GroupRects standardShape(const GroupSizes& sizes, QPoint centre) {
    const QSize in = sizes[InputWindow].outer();
    const QRect input(centre - QPoint(in.width(), in.height()), in);
    const QSize op = sizes[OptionWindow].outer();
    const QSize pv = sizes[PreviewWindow].outer();
    const QSize tb = sizes[ToolbarWindow].outer();
    return {input, QRect(QPoint(input.x() + input.width() + gap, input.y()), op),
            QRect(QPoint(input.x() + input.width() - pv.width(), input.y() + input.height() + gap), pv),
            QRect(QPoint(input.x(), input.y() - gap - tb.height()), tb)};
}

std::int64_t overlapArea(QRect r, const std::vector<QRect>& taken) {
    std::int64_t area = 0;
    for (const QRect& t : taken) {
        const QRect common = r.intersected(t);
        area += std::int64_t(common.width()) * common.height();
    }
    return area;
}

std::int64_t distance(QPoint a, QPoint b) {
    const std::int64_t dx = a.x() - b.x(), dy = a.y() - b.y();
    return dx * dx + dy * dy;
}

// Beside each window already placed, 8 pixels away, with one of its edges level.
std::vector<QRect> besideOthers(QSize size, const std::vector<QRect>& taken) {
    std::vector<QRect> places;
    const int w = size.width(), h = size.height();
    for (const QRect& t : taken) {
        const int right = t.x() + t.width(), bottom = t.y() + t.height();
        for (const QPoint p : {QPoint(t.x(), bottom + gap), QPoint(right - w, bottom + gap), QPoint(t.x(), t.y() - gap - h),
                               QPoint(right - w, t.y() - gap - h), QPoint(right + gap, t.y()), QPoint(right + gap, bottom - h),
                               QPoint(t.x() - gap - w, t.y()), QPoint(t.x() - gap - w, bottom - h)})
            places.emplace_back(p, size);
    }
    return places;
}

// Where a window goes that cannot stand where it wants: the nearest place beside the others
// that lies in the work area and covers none of them; pressed against the work area's edge if
// no such place keeps its gap; failing all, the place in the work area that covers least.
QRect freePlace(QRect wanted, const std::vector<QRect>& taken, QRect workArea) {
    const auto free = [&](QRect r) { return workArea.contains(r) && overlapArea(r, taken) == 0; };
    if (free(wanted))
        return wanted;
    const std::vector<QRect> beside = besideOthers(wanted.size(), taken);
    std::vector<QRect> pressed;
    for (const QRect& r : beside)
        pressed.push_back(inside(r, workArea));
    pressed.push_back(inside(wanted, workArea));
    for (const std::vector<QRect>* places : {&beside, static_cast<const std::vector<QRect>*>(&pressed)}) {
        const QRect* best = nullptr;
        for (const QRect& r : *places)
            if (free(r) && (!best || distance(r.topLeft(), wanted.topLeft()) < distance(best->topLeft(), wanted.topLeft())))
                best = &r;
        if (best)
            return *best;
    }
    const auto worse = [&](const QRect& a, const QRect& b) {
        const std::int64_t oa = overlapArea(a, taken), ob = overlapArea(b, taken);
        return oa != ob ? oa < ob : distance(a.topLeft(), wanted.topLeft()) < distance(b.topLeft(), wanted.topLeft());
    };
    return *std::min_element(pressed.begin(), pressed.end(), worse);
}

}  // namespace

GroupRects arrangedGroup(const GroupSizes& sizes, QPoint centre, QRect workArea) {
    GroupRects group = standardShape(sizes, centre);
    const QRect box = bounds(group);
    const QRect& input = group[InputWindow];
    // On an axis where the group fits it moves as one; where it does not, the input window leads.
    const int dx = box.width() <= workArea.width() ? shiftInto(box.x(), box.width(), workArea.x(), workArea.width())
                                                   : shiftInto(input.x(), input.width(), workArea.x(), workArea.width());
    const int dy = box.height() <= workArea.height() ? shiftInto(box.y(), box.height(), workArea.y(), workArea.height())
                                                     : shiftInto(input.y(), input.height(), workArea.y(), workArea.height());
    for (QRect& r : group)
        r.translate(dx, dy);
    if (box.width() <= workArea.width() && box.height() <= workArea.height())
        return group;

    // The input window where it stands, else against an edge or into a corner of the work area,
    // whichever first leaves room for the others; failing that, where they cover least.
    const QRect in = group[InputWindow];
    const int left = workArea.x(), right = std::max(left, workArea.x() + workArea.width() - in.width());
    const int top = workArea.y(), bottom = std::max(top, workArea.y() + workArea.height() - in.height());
    const QPoint leads[] = {in.topLeft(), {left, in.y()}, {right, in.y()}, {in.x(), top}, {in.x(), bottom},
                            {left, top},  {right, top},   {left, bottom},  {right, bottom}};
    GroupRects best;
    std::int64_t bestCover = std::numeric_limits<std::int64_t>::max();
    for (const QPoint lead : leads) {
        GroupRects tried = group;
        for (QRect& r : tried)
            r.translate(lead - in.topLeft());
        std::vector<QRect> taken = {tried[InputWindow]};
        std::int64_t cover = 0;
        for (const GroupWindow i : {OptionWindow, PreviewWindow, ToolbarWindow}) {
            tried[i] = freePlace(tried[i], taken, workArea);
            cover += overlapArea(tried[i], taken);
            taken.push_back(tried[i]);
        }
        if (cover == 0)
            return tried;
        if (cover < bestCover)
            best = tried, bestCover = cover;
    }
    return best;
}

GroupRects settledGroup(const GroupRects& before, const GroupSizes& oldSizes, const GroupSizes& newSizes,
                        QPoint centre, QRect workArea) {
    if (oldSizes == newSizes)
        return before;
    // Arranged as the button left it: each window where the arrangement put it, or snapped.
    const GroupRects arranged = arrangedGroup(oldSizes, centre, workArea);
    bool wasArranged = true;
    for (int i = 0; i < GroupWindowCount; ++i)
        wasArranged &= before[i] == arranged[i] || before[i] == snapToEdges(arranged[i], workArea);
    if (wasArranged)
        return arrangedGroup(newSizes, centre, workArea);

    GroupRects after;
    for (int i = 0; i < GroupWindowCount; ++i)
        after[i] = QRect(before[i].topLeft(), newSizes[i].outer());
    for (int i = 0; i < GroupWindowCount; ++i) {
        if (newSizes[i].outer() == oldSizes[i].outer())
            continue;
        std::vector<QRect> others;
        for (int j = 0; j < GroupWindowCount; ++j)
            if (j != i)
                others.push_back(after[j]);
        after[i] = freePlace(after[i], others, workArea);
    }
    return after;
}

QRect movedOntoScreen(QRect outer, int titleBar, const std::vector<QRect>& workAreas) {
    const QRect bar(outer.topLeft(), QSize(outer.width(), std::max(titleBar, 1)));
    if (workAreas.empty() ||
        std::any_of(workAreas.begin(), workAreas.end(), [&](const QRect& area) { return area.contains(bar); }))
        return outer;
    return inside(outer, workAreas.front());
}

namespace {

std::array<ToolWindow*, GroupWindowCount> windowsOf(const Windows& w) {
    return {w.input, w.options, w.preview, w.toolbar};
}

FramedSize framedSize(const ToolWindow* w) {
    const QRect client = w->geometry();
    const QRect outer = w->outerGeometry();
    return {client.size(), QMargins(client.left() - outer.left(), client.top() - outer.top(),
                                    outer.right() - client.right(), outer.bottom() - client.bottom())};
}

// The centre is the whole desktop's, as ever; the work area the primary screen's.
QPoint desktopCentre() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->virtualSize() : QSize(0, 0);
    return QPoint(size.width() / 2, size.height() / 2);
}

std::vector<QRect> workAreas() {
    std::vector<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas.push_back(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas.push_back(screen->availableGeometry());
    return areas;
}

QRect primaryWorkArea() {
    const std::vector<QRect> areas = workAreas();
    return areas.empty() ? QRect() : areas.front();
}

void moveAll(const Windows& w, const GroupRects& rects) {
    const auto windows = windowsOf(w);
    for (int i = 0; i < GroupWindowCount; ++i)
        if (windows[i]->outerGeometry().topLeft() != rects[i].topLeft())
            windows[i]->moveOuterTo(rects[i].topLeft());
}

}  // namespace

GroupState groupState(const Windows& w) {
    GroupState state;
    const auto windows = windowsOf(w);
    for (int i = 0; i < GroupWindowCount; ++i) {
        state.sizes[i] = framedSize(windows[i]);
        state.rects[i] = windows[i]->outerGeometry();
    }
    return state;
}

void arrangeWindows(const Windows& w) {
    moveAll(w, arrangedGroup(groupState(w).sizes, desktopCentre(), primaryWorkArea()));
    // The message window beside the option window, as far as the work area lets it.
    if (w.messages) {
        const QRect options = w.options->outerGeometry();
        const QRect beside(QPoint(options.x() + options.width() + gap, options.y()), w.messages->outerGeometry().size());
        w.messages->moveOuterTo(inside(beside, primaryWorkArea()).topLeft());
    }
}

void settleWindows(const Windows& w, const GroupState& before) {
    const GroupState now = groupState(w);
    moveAll(w, settledGroup(before.rects, before.sizes, now.sizes, desktopCentre(), primaryWorkArea()));
}

void restorePositions(const Windows& w, const IniFile& file) {
    const std::vector<QRect> areas = workAreas();
    // Each window read top first, then left, its defaults taken from the windows placed before it.
    const auto place = [&](ToolWindow* window, const char* topKey, int topDefault, const char* leftKey,
                           const auto& leftDefault) {
        const int top = file.readNumber(kPositionSection, topKey, topDefault);
        const int left = file.readNumber(kPositionSection, leftKey, leftDefault());
        const FramedSize size = framedSize(window);
        window->moveOuterTo(movedOntoScreen(QRect(QPoint(left, top), size.outer()), size.frame.top(), areas).topLeft());
    };
    const QPoint centre = desktopCentre();
    const auto outer = [](const ToolWindow* window) { return window->outerGeometry(); };
    const QSize in = outer(w.input).size();
    const auto& [inputKey, optionsKey, previewKey, toolbarKey] = kPositionKeys;
    place(w.input, inputKey.top, centre.y() - in.height(), inputKey.left, [&] { return centre.x() - in.width(); });
    const QRect input = outer(w.input);
    place(w.options, optionsKey.top, input.y(), optionsKey.left, [&] { return input.x() + input.width() + gap; });
    place(w.preview, previewKey.top, input.y() + input.height() + gap, previewKey.left,
          [&] { return input.x() + input.width() - outer(w.preview).width(); });
    place(w.toolbar, toolbarKey.top, input.y(), toolbarKey.left,
          [&] { return input.x() - outer(w.toolbar).width() - gap; });
    if (w.messages) {
        // Sized before it is placed, so that its whole frame is brought onto the screen.
        const auto& [topKey, leftKey, widthKey, heightKey] = kMessagesWindowKeys;
        const QSize designed = w.messages->size();
        const QSize least = w.messages->minimumSize();
        const int width = file.readNumber(kPositionSection, widthKey, designed.width());
        const int height = file.readNumber(kPositionSection, heightKey, designed.height());
        w.messages->setClientSize(QSize(std::clamp(width, least.width(), TForm1::maxClientExtent),
                                        std::clamp(height, least.height(), TForm1::maxClientExtent)));
        const QRect options = outer(w.options);
        place(w.messages, topKey, options.y(), leftKey, [&] { return options.x() + options.width() + gap; });
    }
}

void appendPositions(const Windows& w, std::vector<IniEntry>& entries) {
    const auto add = [&](const char* key, int value) { entries.push_back({kPositionSection, key, std::to_string(value)}); };
    const auto windows = windowsOf(w);
    for (int i = 0; i < GroupWindowCount; ++i) {
        add(kPositionKeys[i].top, windows[i]->outerGeometry().y());
        add(kPositionKeys[i].left, windows[i]->outerGeometry().x());
    }
    if (w.messages) {
        const QRect outer = w.messages->outerGeometry();
        add(kMessagesWindowKeys[0], outer.y());
        add(kMessagesWindowKeys[1], outer.x());
        add(kMessagesWindowKeys[2], w.messages->width());
        add(kMessagesWindowKeys[3], w.messages->height());
    }
}

}  // namespace zeilwerk
