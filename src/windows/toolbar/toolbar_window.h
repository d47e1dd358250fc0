#pragma once

#include "platform/platform.h"
#include "widgets/tool_window.h"
#include "windows/windows.h"

#include <array>

class QToolButton;

namespace zeilwerk {

// The toolbar window "Werkzeuge": one click puts a message code into the input memo at the
// caret, or around the selection.
class TForm4 : public ToolWindow {
public:
    TForm4(const Platform& platform, const Windows& windows);

    // Two rows of eight buttons (216 × 58), or two columns (58 × 216).
    void setHorizontal(bool horizontal);

    // The help-line handler of the window and its buttons.
    void helpcontext(QWidget* sender);


    static constexpr int buttonCount = 16;
    // The buttons in the order of the toolbar table: farbe, farbe_var, geschw, ...
    std::array<QToolButton*, buttonCount> buttons{};
    QToolButton* button(const char* name) const;

    // What button `index` of the table does when clicked.
    void click(int index);

private:

    const Platform& m_platform;
    const Windows& m_windows;
};

}  // namespace zeilwerk
