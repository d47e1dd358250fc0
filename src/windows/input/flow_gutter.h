#pragma once

#include <QString>
#include <QWidget>

#include <cstddef>
#include <optional>
#include <vector>

class QPlainTextEdit;

namespace zeilwerk {

// The gutter beside the flowing text: where each box begins, its number at the height of
// that line of the memo, the box shown in bold, a box with a finding in red behind a "!"
// and its findings as the mark's tooltip.
class FlowGutter : public QWidget {
public:
    FlowGutter(QPlainTextEdit* memo, QWidget* parent);

    struct Mark {
        std::size_t start = 0;  // the place of the memo's text where the box begins
        QString findings;       // empty: none
    };
    void setMarks(std::vector<Mark> marks, std::size_t current);

    // The box whose mark stands at a height of the gutter.
    std::optional<std::size_t> markAt(int y) const;
    // The top of a box's mark in the gutter, as the memo now scrolls.
    int markTop(std::size_t box) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QPlainTextEdit* m_memo;
    std::vector<Mark> m_marks;
    std::size_t m_current = 0;
};

}  // namespace zeilwerk
