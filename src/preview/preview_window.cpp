#include "preview/preview_window.h"

namespace zeilwerk {

TForm3::TForm3(const Platform& platform, const Windows& windows)
    : ToolWindow(QStringLiteral("Textvorschau"), QSize(336, 96), false), m_platform(platform), m_windows(windows) {
    move(588, 316);
}

}  // namespace zeilwerk
