#include "windows/preview/layer.h"

#include "windows/preview/pixels.h"

#include <cstring>
#include <utility>

namespace zeilwerk {

QImage& Layer::picture() {
    if (m_picture.isNull()) {
        m_picture = QImage(m_size, QImage::Format_RGB32);
        m_picture.fill(Qt::white);
    }
    return m_picture;
}

void Layer::setPicture(const QImage& picture, std::optional<QRgb> transparent) {
    m_samples.reset();
    m_picture = picture.convertToFormat(QImage::Format_RGB32);
    m_transparent = transparent;
    refresh();
}

void Layer::setPicture(TextBoxPicture picture, std::optional<QRgb> transparent) {
    if (auto* whole = std::get_if<QImage>(&picture)) {
        setPicture(*whole, transparent);
        return;
    }
    m_samples = std::move(std::get<PictureSamples>(picture));
    m_picture = m_samples->corner;
    m_transparent = transparent;
    refresh();
}

QSize Layer::pictureSize() const {
    return m_samples ? m_samples->size : m_picture.size();
}

const QImage& Layer::enlargeSource() const {
    return m_samples ? m_samples->doubled : m_picture;
}

QRgb Layer::transparentColour() const {
    if (m_transparent)
        return *m_transparent;
    if (m_samples)
        return m_samples->bottomLeft | 0xFF000000;
    return m_picture.isNull() ? qRgb(255, 255, 255) : m_picture.pixel(0, m_picture.height() - 1) | 0xFF000000;
}

void Layer::setTransparentColour(QRgb colour) {
    m_transparent = colour | 0xFF000000;
    refresh();
}

void Layer::copyPicture(const QImage& picture, std::optional<QRgb> transparent) {
    m_transparent = transparent;
    if (m_picture.size() != picture.size() || m_picture.format() != QImage::Format_RGB32 ||
        picture.format() != QImage::Format_RGB32) {
        m_picture = picture.convertToFormat(QImage::Format_RGB32);
        return;
    }
    // Into the pixels the layer already has: a keystroke allocates nothing.
    const auto rowBytes = static_cast<size_t>(picture.width()) * sizeof(QRgb);
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(m_picture.scanLine(y), picture.constScanLine(y), rowBytes);
}

void Layer::refresh() {
    if (m_picture.isNull()) {
        m_shown = QImage();
        return;
    }
    // A larger or smaller picture is brought to the layer's size first, so no full-size
    // copy of a big picture is made; nearest-pixel scaling picks the same pixels either way.
    const QImage sized = m_samples                  ? m_samples->shown
                         : m_picture.size() == m_size ? m_picture
                                                      : m_picture.scaled(m_size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                                            .convertToFormat(QImage::Format_RGB32);
    if (m_shown.size() != m_size || m_shown.format() != QImage::Format_ARGB32)
        m_shown = QImage(m_size, QImage::Format_ARGB32);
    const QRgb key = transparentColour();
    const int height = m_size.height();
    for (int y = 0; y < height; ++y)
        pixels::maskKey(reinterpret_cast<QRgb*>(m_shown.scanLine(y)),
                        reinterpret_cast<const QRgb*>(sized.constScanLine(y)), m_size.width(), key);
    markShownCurrent();
}

bool Layer::shownIsCurrent() const {
    return !m_samples && !m_picture.isNull() && m_picture.size() == m_size && m_picture.format() == QImage::Format_RGB32 &&
           m_shown.size() == m_size && m_shownOf == m_picture.cacheKey() && m_shownKey == transparentColour();
}

void Layer::refreshRow(int y) {
    pixels::maskKey(reinterpret_cast<QRgb*>(m_shown.scanLine(y)),
                    reinterpret_cast<const QRgb*>(std::as_const(m_picture).constScanLine(y)), m_size.width(),
                    transparentColour());
}

void Layer::markShownCurrent() {
    m_shownOf = m_picture.cacheKey();
    m_shownKey = transparentColour();
}

}  // namespace zeilwerk
