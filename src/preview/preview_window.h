#pragma once

#include "app/tool_window.h"
#include "app/windows.h"
#include "game/game_look.h"
#include "platform/platform.h"
#include "preview/picture_file.h"

#include <QImage>
#include <QString>

#include <array>
#include <optional>

class QLabel;

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

    // Whether what is shown was made from the picture as it is now, with today's colour,
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

// What the text and result layers were last made from, so a keystroke redraws only the
// rows of the lines that changed.
struct DrawnFrom {
    qint64 canvas = 0;  // the text layer's cache key as the drawing left it
    QString family;
    std::array<QString, 4> texts;
    std::array<QPoint, 4> origins;
    std::array<QRect, 4> rects;  // the pixels each line set
    qint64 result = 0;           // the result layer's cache key as the colouring left it
    qint64 colours = 0;          // the colour picture's, 0 when not coloured
};

// What the doubled layer was last made from, so a keystroke redoubles only changed rows.
struct DoubledFrom {
    qint64 doubled = 0;  // the doubled picture's cache key as the doubling left it
    QImage result;
    qint64 box = 0;
    QRgb boxKey = 0;
    QRgb resultKey = 0;
};

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
    DrawnFrom drawnFrom;
    DoubledFrom doubledFrom;
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
