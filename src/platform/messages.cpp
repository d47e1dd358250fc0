#include "platform/messages.h"

#include <QMessageBox>

namespace zeilwerk {

QString errorBoxText(const QString& text) {
    return text.endsWith(u'.') ? text : text + u'.';
}

void BoxMessages::show(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle, text, QMessageBox::Ok);
    box.exec();
}

void BoxMessages::error(const QString& text) {
    QMessageBox box(QMessageBox::Critical, applicationTitle, errorBoxText(text), QMessageBox::Ok);
    box.exec();
}

}  // namespace zeilwerk
