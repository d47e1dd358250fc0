#include "preview/preview_window.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "preview/game_rendering.h"
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
    if (message.isNull())
        m_gameShown = QImage();
    else if (doubled)
        doublePicture(message, m_gameShown);
    else
        m_gameShown = message.copy();
    // The whole screen of the game is larger than the box: the window grows with it.
    const QSize shown = m_gameShown.isNull() ? (boxme.visible ? desti.size() : scale2x.size()) : m_gameShown.size();
    if (size() != shown + QSize(16, 16))
        setClientSize(shown + QSize(16, 16));
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
