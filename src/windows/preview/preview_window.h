#pragma once

#include "look/game_look.h"
#include "look/message_player.h"
#include "platform/platform.h"
#include "widgets/tool_window.h"
#include "windows/preview/layer.h"
#include "windows/preview/preview_renderer.h"
#include "windows/windows.h"

#include <QImage>
#include <QString>

#include <array>
#include <optional>

class QLabel;
class QPushButton;

namespace zeilwerk {

// The preview window "Textvorschau": the five layers stacked at (8, 8) and the hidden font
// holder. Passive: apply, start-up and the rendering fill it.
class TForm3 : public ToolWindow {
public:
    TForm3(const Platform& platform, const Windows& windows);

    Layer cala{{320, 80}};
    Layer boxme{{320, 80}};
    Layer drawme{{320, 80}};
    Layer desti{{320, 80}};
    Layer scale2x{{640, 160}};
    // What the rendering keeps between keystrokes.
    PreviewRenderer renderer;
    QLabel* schriftart;

    // The picture set-up of start-up: txtbox.bmp and txtclr.bmp beside the executable.
    void setUpAssets();
    void setPreviewScale(bool on);
    void loadTextBoxPicture(const std::filesystem::path& path);
    // Keeps the previous colour when (x, y) lies outside the text box picture.
    void pickTransparentColour(int x, int y);
    void loadColourPicture(const std::filesystem::path& path);
    void setPreviewFont(const QString& name);
    QString previewFont() const;

    // Tiles a picture over the colour layer, covering it whole.
    void TileBmp(const QImage& bitmap);

    // The game's look, while "wie im Spiel" is applied and its files could be read; none
    // shows the layers again.
    void setGameLook(std::optional<GameLook> look);
    const GameLook* gameLook() const { return m_game ? &*m_game : nullptr; }
    // The message drawn in the game's look, shown instead of the layers (doubled when asked
    // to be); a null picture shows the layers again.
    void showGameLook(const QImage& message, bool doubled);
    const QImage& gameLookShown() const { return m_gameShown; }

    // Beneath the game's look: "Abspielen" (and F5) plays the message as the game prints it,
    // and beside it its length.
    QPushButton* abspielen;
    QLabel* dauer;
    MessagePlayer player;
    // Plays the input window's four lines in the game's look; nothing without one.
    void startPlaying();
    // Typing and apply end the play before the still picture is drawn again.
    void stopPlaying();
    void showDuration(const std::array<std::u16string, 4>& lines, const RenderSettings& settings);
    static constexpr int playStrip = 26;  // the window's growth below the game's look

    // Repaints after the layers changed.
    void layersChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const Platform& m_platform;
    const Windows& m_windows;
    std::optional<GameLook> m_game;
    QImage m_gameShown;
    bool m_playDoubled = false;
};

// The pixel (1, 1) of a picture, or the one nearest to it in a picture smaller than 2 × 2.
QRgb keyPixel(const QImage& picture);

}  // namespace zeilwerk
