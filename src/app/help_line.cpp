#include "app/help_line.h"

#include "app/hints.h"

#include <QMouseEvent>
#include <QVariant>
#include <QWidget>

namespace zeilwerk {

QString helpTextOf(const QWidget* control) {
    const QString hint = hintOf(control);
    return hint.isEmpty() ? defaultHelpText : hint;
}

HelpBinding::HelpBinding(QObject* parent, std::function<void(QWidget*)> handler)
    : QObject(parent), m_handler(std::move(handler)) {}

void HelpBinding::bind(QWidget* control) {
    control->setProperty("zeilwerkHelpBound", true);
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

bool HelpBinding::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove)
        return false;
    auto* control = static_cast<QWidget*>(watched);
    if (!control->isEnabled()) {
        // A disabled control raises no move of its own: the container under it does, if bound.
        QWidget* container = control->parentWidget();
        if (container && container->property("zeilwerkHelpBound").toBool())
            m_handler(container);
        return true;
    }
    m_handler(control);
    // A control with its own hint keeps a plain move to itself, so the container behind it
    // does not overwrite the hint; presses and drags go on as usual.
    const bool listed = !hintOf(control).isEmpty();
    return listed && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton;
}

}  // namespace zeilwerk
