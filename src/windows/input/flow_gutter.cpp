#include "windows/input/flow_gutter.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolTip>

namespace zeilwerk {

FlowGutter::FlowGutter(QPlainTextEdit* memo, QWidget* parent) : QWidget(parent), m_memo(memo) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Scrolling or re-laying out the memo moves the lines the marks stand beside.
    connect(memo, &QPlainTextEdit::updateRequest, this, [this] { update(); });
}

void FlowGutter::setMarks(std::vector<Mark> marks, std::size_t current) {
    m_marks = std::move(marks);
    m_current = current;
    update();
}

int FlowGutter::markTop(std::size_t box) const {
    QTextCursor at(m_memo->document());
    at.setPosition(std::min(static_cast<int>(m_marks[box].start), m_memo->document()->characterCount() - 1));
    const QRect line = m_memo->cursorRect(at);
    return mapFrom(window(), m_memo->viewport()->mapTo(window(), line.topLeft())).y();
}

std::optional<std::size_t> FlowGutter::markAt(int y) const {
    const int height = fontMetrics().height();
    for (std::size_t i = 0; i < m_marks.size(); ++i) {
        const int top = markTop(i);
        if (y >= top && y < top + height)
            return i;
    }
    return std::nullopt;
}

void FlowGutter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setFont(m_memo->font());
    const int height = painter.fontMetrics().height();
    const QRect memoArea(mapFrom(window(), m_memo->viewport()->mapTo(window(), QPoint(0, 0))), m_memo->viewport()->size());
    painter.setClipRect(QRect(0, memoArea.top(), width(), memoArea.height()));
    for (std::size_t i = 0; i < m_marks.size(); ++i) {
        const int top = markTop(i);
        if (top + height < memoArea.top() || top > memoArea.bottom())
            continue;
        QFont font = m_memo->font();
        font.setBold(i == m_current);
        painter.setFont(font);
        const bool found = !m_marks[i].findings.isEmpty();
        painter.setPen(found ? QColor(Qt::red) : palette().text().color());
        painter.drawLine(0, top, width() - 1, top);
        painter.drawText(QRect(0, top, width() - 2, height), Qt::AlignRight | Qt::AlignVCenter,
                         (found ? QStringLiteral("!") : QString()) + QString::number(i + 1));
    }
}

bool FlowGutter::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<std::size_t> box = markAt(help->pos().y());
        const QString text = box ? QStringLiteral("Box %1").arg(*box + 1) +
                                       (m_marks[*box].findings.isEmpty() ? QString() : u'\n' + m_marks[*box].findings)
                                 : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

}  // namespace zeilwerk
