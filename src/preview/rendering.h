#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

#include <array>
#include <optional>
#include <string>

namespace zeilwerk {

class TForm3;
class TraceSink;

// What one rendering reads of the settings, afresh on every run.
struct RenderSettings {
    bool active = true;          // vorschau_aktiv
    bool plain = false;          // vorschau_plain
    bool scale2x = false;        // vorschau_scale2x
    QString lineLength;          // laenge
    QString alignment;           // ausrichtung
};

// One message line as drawn: its text, leading spaces included, and the baseline origin.
struct PreviewLine {
    QString text;
    QPoint origin;
};

// The font the preview draws with: the family at 9 points, without anti-aliasing.
QFont previewTextFont(const QString& family);

// Where and what line `index` draws, or nothing for a line with no visible text. Scans
// the line (writing to trace) and reads the settings, throwing as renderPreview does.
std::optional<PreviewLine> layOutLine(const std::u16string& line, int index, const RenderSettings& settings,
                                      int ascent, TraceSink* trace);

// Draws the four message lines into the preview's layers as the Maker shows them.
// A line length or alignment that is no number throws, ending the run at that line.
void renderPreview(TForm3& preview, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                   TraceSink* trace);

}  // namespace zeilwerk
