#include "message/toolbar_window.h"

namespace zeilwerk {

TForm4::TForm4(const Platform& platform, const Windows& windows)
    : ToolWindow(QStringLiteral("Werkzeuge"), QSize(216, 58), false), m_platform(platform), m_windows(windows) {
    move(199, 118);
}

}  // namespace zeilwerk
