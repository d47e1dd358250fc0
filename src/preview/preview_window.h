#pragma once

#include "app/tool_window.h"
#include "app/windows.h"
#include "game/game_look.h"
#include "platform/platform.h"
#include "preview/layer.h"
#include "preview/preview_renderer.h"

#include <QImage>
#include <QString>

#include <array>
#include <optional>

class QLabel;

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

    // The game's look, while "wie im Spiel" is applied and its files could be read.
    std::optional<GameLook> game;
    // The message drawn in the game's look, shown instead of the layers (doubled when asked
    // to be); a null picture shows the layers again.
    void showGameLook(const QImage& message, bool doubled);
    const QImage& gameLookShown() const { return m_gameShown; }

    // Repaints after the layers changed.
    void layersChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Platform& m_platform;
    const Windows& m_windows;
    QImage m_gameShown;
};

// The pixel (1, 1) of a picture, or the one nearest to it in a picture smaller than 2 × 2.
QRgb keyPixel(const QImage& picture);

}  // namespace zeilwerk
