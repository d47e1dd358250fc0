#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

#include <QImage>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zeilwerk {

class TForm3;
class TraceSink;
struct GameLook;

// What one rendering reads of the settings, afresh on every run.
struct RenderSettings {
    bool active = true;          // vorschau_aktiv
    bool plain = false;          // vorschau_plain
    bool scale2x = false;        // vorschau_scale2x
    QString lineLength;          // laenge
    QString alignment;           // ausrichtung
    const GameLook* game = nullptr;  // the game's look, while it is applied and was read
};

// One message line as drawn: its text, leading spaces included, and the baseline origin.
struct PreviewLine {
    QString text;
    QPoint origin;
    int indent = 0;  // the leading spaces in text
};

// The font the preview draws with: the family at 9 points, without anti-aliasing.
QFont previewTextFont(const QString& family);

// Where and what line `index` draws, or nothing for a line with no visible text. Scans
// the line (writing to trace) and reads the settings, throwing as renderPreview does.
std::optional<PreviewLine> layOutLine(const std::u16string& line, int index, const RenderSettings& settings,
                                      int ascent, TraceSink* trace);
// The same for a line's visible text.
std::optional<PreviewLine> layOutVisible(const std::u16string& visible, int index, const RenderSettings& settings,
                                         int ascent);

// A line's visible text as the game shows it: names in place of \n[i], and each
// character's colour, 0 to 19, as \c[n] codes set it from the colour the line starts in.
struct GameText {
    std::u16string text;
    std::vector<int> colours;  // one per UTF-16 unit of text
    int endColour = 0;         // what the next line starts in
};
GameText gameText(const std::u16string& line, const std::map<int, std::u16string>& heroNames, int startColour,
                  TraceSink* trace);

// The message as the game draws it, into picture: its window, and every character in its
// colour over its shadow, one pixel right and below. Throws as renderPreview does, with
// the lines before the one that failed drawn.
void drawGameMessage(const GameLook& look, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                     const QFont& font, TraceSink* trace, QImage& picture);

// Draws the four message lines into the preview's layers as the Maker shows them.
// A line length or alignment that is no number throws, ending the run at that line.
void renderPreview(TForm3& preview, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                   TraceSink* trace);

}  // namespace zeilwerk
