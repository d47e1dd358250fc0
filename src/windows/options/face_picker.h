#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace zeilwerk {

// The sixteen faces of a FaceSet, small in a 4 × 4 grid; a click chooses one.
class FacePicker : public QWidget {
public:
    explicit FacePicker(QWidget* parent);

    // The FaceSet to show; a null picture shows an empty grid.
    void setFaceSet(const QImage& faceSet);
    void setChosen(int index);
    int chosen() const { return m_chosen; }
    std::function<void(int)> onChosen;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    static constexpr int kCell = 20;
    QImage m_faceSet;
    int m_chosen = 0;
};

}  // namespace zeilwerk
