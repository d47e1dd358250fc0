#include "widgets/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace zeilwerk {
namespace {

// Shows one box over the window the user works in; afterwards the keyboard focus goes back
// to the control that had it, not to whichever window the window manager picks.
void showBox(QMessageBox::Icon icon, const QString& text) {
    const QPointer<QWidget> focused = QApplication::focusWidget();
    const QPointer<QWidget> active = QApplication::activeWindow();
    QMessageBox box(icon, applicationTitle, text, QMessageBox::Ok, active);
    box.exec();
    QWidget* window = focused ? focused->window() : active.data();
    if (!window || !window->isVisible())
        return;
    window->activateWindow();
    if (focused)
        focused->setFocus(Qt::OtherFocusReason);
}

}  // namespace

QString errorBoxText(const QString& text) {
    return text.endsWith(u'.') ? text : text + u'.';
}

void BoxMessages::show(const QString& text) {
    showBox(QMessageBox::NoIcon, text);
}

void BoxMessages::error(const QString& text) {
    showBox(QMessageBox::Critical, errorBoxText(text));
}

}  // namespace zeilwerk
