#include "preview/preview_window.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "preview/layout.h"
#include "preview/picture_file.h"
#include "preview/pixels.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <utility>

namespace zeilwerk {
namespace {

const QPoint layerOrigin(8, 8);

}  // namespace

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

TForm3::TForm3(const Platform& platform, const Windows& windows)
    : ToolWindow(QStringLiteral("Textvorschau"), QSize(336, 96), false), m_platform(platform), m_windows(windows) {
    cala.visible = false;
    drawme.visible = false;
    schriftart = new QLabel(QStringLiteral("schriftart"), this);
    schriftart->hide();
    // Designed place; start-up moves it.
    moveOuterTo(QPoint(588, 316));
}

// The pixel (1, 1) that picks a layer's transparent colour; in a picture too small to have
// it, the one nearest to it, so the colour is never read from outside the picture.
QRgb keyPixel(const QImage& picture) {
    if (picture.isNull())
        return qRgb(255, 255, 255);
    return picture.pixel(std::min(1, picture.width() - 1), std::min(1, picture.height() - 1));
}

void TForm3::setUpAssets() {
    const auto& folder = m_platform.executableFolder;
    TextBoxPicture box = readTextBoxPicture(picturePath(folder, m_platform.dataFolder, "txtbox.bmp"), boxme.size());
    const QImage colours = readBitmap(picturePath(folder, m_platform.dataFolder, "txtclr.bmp"));
    TileBmp(colours);
    schriftart->setText(QStringLiteral("MS Mincho"));
    boxme.setPicture(std::move(box), std::nullopt);
    for (Layer* layer : {&boxme, &desti, &drawme, &scale2x})
        layer->setTransparentColour(keyPixel(layer->picture()));
    layersChanged();
}

void TForm3::setPreviewScale(bool on) {
    const Layer& shown = on ? scale2x : desti;
    setClientSize(shown.size() + QSize(16, 16));
    boxme.visible = !on;
    // A doubled picture left over from before would cover the normal-size preview.
    if (!on && scale2x.hasPicture()) {
        scale2x.picture().fill(Qt::white);
        scale2x.refresh();
    }
    layersChanged();
}

void TForm3::loadTextBoxPicture(const std::filesystem::path& path) {
    boxme.setPicture(readTextBoxPicture(path, boxme.size()), std::nullopt);
    layersChanged();
}

void TForm3::pickTransparentColour(int x, int y) {
    const QImage& box = boxme.picture();
    if (!box.valid(x, y))
        return;
    boxme.setTransparentColour(box.pixel(x, y));
    layersChanged();
}

void TForm3::loadColourPicture(const std::filesystem::path& path) {
    TileBmp(readBitmap(path));
}

void TForm3::setPreviewFont(const QString& name) {
    schriftart->setText(name);
}

QString TForm3::previewFont() const {
    return schriftart->text();
}

void TForm3::TileBmp(const QImage& bitmap) {
    QImage& canvas = cala.picture();
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const TilePosition& at : tilePositions(bitmap.width(), bitmap.height(), canvas.width(), canvas.height()))
        painter.drawImage(at.x, at.y, bitmap);
}

void TForm3::showGameLook(const QImage& message, bool doubled) {
    m_gameShown = doubled && !message.isNull()
                      ? message.scaled(message.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                      : message;
    update();
}

void TForm3::layersChanged() {
    update();
}

void TForm3::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_gameShown.isNull()) {
        painter.drawImage(layerOrigin, m_gameShown);
        return;
    }
    for (const Layer* layer : {&cala, &boxme, &drawme, &desti, &scale2x})
        if (layer->visible && !layer->shown().isNull())
            painter.drawImage(layerOrigin, layer->shown());
}

}  // namespace zeilwerk
