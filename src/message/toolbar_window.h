#pragma once

#include "app/tool_window.h"
#include "app/windows.h"
#include "platform/platform.h"

namespace zeilwerk {

// The toolbar window "Werkzeuge": one click inserts a message code into the input memo.
class TForm4 : public ToolWindow {
public:
    TForm4(const Platform& platform, const Windows& windows);

private:
    const Platform& m_platform;
    const Windows& m_windows;
};

}  // namespace zeilwerk
