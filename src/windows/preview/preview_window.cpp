#include "windows/preview/preview_window.h"

#include "core/message/layout.h"
#include "core/platform/code_page.h"
#include "core/platform/error.h"
#include "look/game_rendering.h"
#include "look/picture_file.h"
#include "platform/paths.h"
#include "widgets/help_line.h"
#include "widgets/hints.h"
#include "widgets/messages.h"
#include "windows/preview/pixels.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cstring>
#include <utility>

namespace zeilwerk {
namespace {

const QPoint layerOrigin(8, 8);

const QString kPlayNeedsGameLook = QStringLiteral(
    "Abspielen geht nur „wie im Spiel“: Spielordner und „wie im Spiel“ auf der Seite „Spiel“ der Optionen wählen.");

}  // namespace

TForm3::TForm3(const Platform& platform, const Windows& windows)
    : ToolWindow(QStringLiteral("Textvorschau"), QSize(336, 96), false),
      player([this](const QImage& frame) { showGameLook(frame, m_playDoubled); },
             [this] {
                 // The still picture again, the arrow standing.
                 if (m_windows.group.rerender)
                     guarded(*m_platform.messages, [this] { m_windows.group.rerender(); });
             }),
      m_platform(platform),
      m_windows(windows) {
    cala.visible = false;
    auto* help = new HelpBinding(this, [this](QWidget* sender) {
        if (m_windows.group.showHelp)
            m_windows.group.showHelp(helpTextOf(sender));
    });
    abspielen = new QPushButton(QStringLiteral("Abspielen"), this);
    abspielen->setFocusPolicy(Qt::NoFocus);  // Space answers the message, never the button
    setHint(abspielen, QStringLiteral("Spielt die Nachricht ab, wie das Spiel sie schreibt (F5); Enter, Leertaste "
                                      "oder ein Klick ins Bild drücken die Taste."));
    help->bind(abspielen);
    connect(abspielen, &QPushButton::clicked, this, [this] { startPlaying(); });
    abspielen->hide();
    dauer = new QLabel(this);
    dauer->hide();
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
    const auto& folder = m_platform.settingsFolder;
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

void TForm3::setGameLook(std::optional<GameLook> look) {
    m_game = std::move(look);
    if (!m_game)
        showGameLook(QImage(), false);
}

void TForm3::showGameLook(const QImage& message, bool doubled) {
    if (message.isNull())
        m_gameShown = QImage();
    else if (doubled)
        doublePicture(message, m_gameShown);
    else
        m_gameShown = message.copy();
    // The whole screen of the game is larger than the box: the window grows with it, and
    // by the strip of the play button.
    const bool game = !m_gameShown.isNull();
    const QSize shown = game ? m_gameShown.size() : (boxme.visible ? desti.size() : scale2x.size());
    const QSize client = shown + QSize(16, 16 + (game ? playStrip : 0));
    if (size() != client)
        setClientSize(client);
    abspielen->setVisible(game);
    dauer->setVisible(game);
    if (game) {
        abspielen->setGeometry(8, shown.height() + 12, 88, 22);
        dauer->setGeometry(104, shown.height() + 12, std::max(0, client.width() - 112), 22);
    }
    update();
}

void TForm3::startPlaying() {
    const WindowGroup& group = m_windows.group;
    if (!group.lines || !group.renderSettings || !group.showHelp)
        return;
    // The Maker's own box has no timing to play; the help line says where to turn it on.
    if (!m_game) {
        group.showHelp(kPlayNeedsGameLook);
        return;
    }
    RenderSettings settings = group.renderSettings();
    if (!settings.active)
        return;
    settings.game = &*m_game;
    m_playDoubled = settings.scale2x;
    guarded(*m_platform.messages, [&] { player.play(*m_game, group.lines(), settings); });
}

void TForm3::stopPlaying() {
    player.stop();
}

void TForm3::showDuration(const std::array<std::u16string, 4>& lines, const RenderSettings& settings) {
    if (settings.game)
        dauer->setText(durationText(messageTimeline(gameMessageText(*settings.game, lines, settings), CodePage::system())));
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_F5:
        startPlaying();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        player.answerKey();
        return;
    default:
        ToolWindow::keyPressEvent(event);
    }
}

void TForm3::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        player.answerKey();
    ToolWindow::mousePressEvent(event);
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
