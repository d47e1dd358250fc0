#include "widgets/help_line.h"

#include "widgets/hints.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace zeilwerk {

QString helpTextOf(const QWidget* control) {
    const QString hint = hintOf(control);
    return hint.isEmpty() ? defaultHelpText : hint;
}

namespace {
constexpr int borderWidth = 1;
constexpr int textIndent = 2;
const QColor borderColour(0xa0, 0xa0, 0xa0);
const QColor disabledText(0x6d, 0x6d, 0x6d);
}  // namespace

HelpLineLabel::HelpLineLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

QRect HelpLineLabel::textRect() const {
    const QFontMetrics metrics(font());
    const QRect inside = rect().adjusted(borderWidth + textIndent, borderWidth, -borderWidth - textIndent, -borderWidth);
    const int lineHeight = metrics.ascent() + metrics.descent();
    const int top = inside.top() + std::max(0, (inside.height() - lineHeight) / 2);
    return QRect(inside.left(), top, inside.width(), lineHeight);
}

void HelpLineLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(borderColour);
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const QRect line = textRect();
    QTextLayout layout(text(), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine first = layout.createLine();
    if (first.isValid())
        first.setLineWidth(line.width());
    layout.endLayout();
    if (!first.isValid())
        return;
    p.setClipRect(rect().adjusted(borderWidth, borderWidth, -borderWidth, -borderWidth));
    p.setPen(disabledText);
    first.draw(&p, QPointF(line.left(), line.top() + QFontMetrics(font()).ascent() - first.ascent()));
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
