#pragma once

#include "look/picture_file.h"

#include <QImage>
#include <QRgb>
#include <QSize>

#include <optional>

namespace zeilwerk {

// One image layer of the preview: a picture, made blank white of the layer's size the
// first time it is needed, and the colour that is not painted.
class Layer {
public:
    explicit Layer(QSize size) : m_size(size) {}

    bool hasPicture() const { return !m_picture.isNull(); }
    // The picture, created blank white when there is none yet; of a sampled picture, its
    // top-left corner.
    QImage& picture();
    // Replaces the picture; its transparent colour comes with it.
    void setPicture(const QImage& picture, std::optional<QRgb> transparent);
    // Replaces the picture by a text box picture, whole or sampled.
    void setPicture(TextBoxPicture picture, std::optional<QRgb> transparent);
    // The picture's own size, sampled or not.
    QSize pictureSize() const;
    // What the 2x layer enlarges: the picture, or its samples taken at twice the layer's size.
    const QImage& enlargeSource() const;
    // The same without rebuilding what is shown: the caller draws on and refreshes.
    void copyPicture(const QImage& picture, std::optional<QRgb> transparent);
    // Without a colour set, the picture's bottom-left pixel is not painted.
    QRgb transparentColour() const;
    std::optional<QRgb> setTransparent() const { return m_transparent; }
    void setTransparentColour(QRgb colour);
    QSize size() const { return m_size; }

    bool visible = true;
    // The picture as the window paints it: transparent where the colour is, at layer size.
    const QImage& shown() const { return m_shown; }
    // Rebuilds what is shown; call after drawing on the picture.
    void refresh();

    // Whether what is shown was made from the picture as it is now, with the current colour,
    // so a caller that changes a few rows may rebuild just those.
    bool shownIsCurrent() const;
    // Rebuilds what is shown of row y; only for a picture of the layer's own size.
    void refreshRow(int y);
    // Called after refreshRow for every row that changed.
    void markShownCurrent();

private:
    QSize m_size;
    QImage m_picture;
    std::optional<QRgb> m_transparent;
    QImage m_shown;
    std::optional<PictureSamples> m_samples;  // for a picture too large to keep whole
    qint64 m_shownOf = 0;  // the picture's cache key when shown was made
    QRgb m_shownKey = 0;
};

}  // namespace zeilwerk
