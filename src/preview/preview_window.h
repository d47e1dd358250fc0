#pragma once

#include "app/tool_window.h"
#include "app/windows.h"
#include "platform/platform.h"

namespace zeilwerk {

// The preview window "Textvorschau": draws the message as the Maker's text box shows it.
class TForm3 : public ToolWindow {
public:
    TForm3(const Platform& platform, const Windows& windows);

private:
    const Platform& m_platform;
    const Windows& m_windows;
};

}  // namespace zeilwerk
