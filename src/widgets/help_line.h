#pragma once

#include <QLabel>
#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace zeilwerk {

inline const QString defaultHelpText = QStringLiteral("Hier erscheinen Erklärungen zu Funktionen.");

// What the help line shows for a bound control: its own hint, or the default text.
QString helpTextOf(const QWidget* control);

// The help line: white with a soft border, its text in the grey of disabled text, wrapped at
// word boundaries of which only the first line shows, whole, descenders and all.
class HelpLineLabel : public QLabel {
public:
    HelpLineLabel(const QString& text, QWidget* parent);

    // Where the first line is drawn, and how high it is: inside the border, never cut.
    QRect textRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

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
