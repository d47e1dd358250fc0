#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>

namespace zeilwerk {

// A control's explanation for the help line; never shown as a tool-tip.
inline void setHint(QWidget* control, const QString& hint) {
    control->setProperty("zeilwerkHint", hint);
}

inline QString hintOf(const QWidget* control) {
    return control->property("zeilwerkHint").toString();
}

}  // namespace zeilwerk
