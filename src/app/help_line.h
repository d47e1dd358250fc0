#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace zeilwerk {

inline const QString defaultHelpText = QStringLiteral("Hier erscheinen Erklärungen zu Funktionen.");

// What the help line shows for a bound control: its own hint, or the default text.
QString helpTextOf(const QWidget* control);

// Passes every mouse move over a bound control to a window's help-line handler. A control
// that is not bound swallows its moves, so the help line keeps its text there; a disabled
// control lets its move fall through to the container under it.
class HelpBinding : public QObject {
public:
    HelpBinding(QObject* parent, std::function<void(QWidget*)> handler);
    void bind(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(QWidget*)> m_handler;
};

}  // namespace zeilwerk
