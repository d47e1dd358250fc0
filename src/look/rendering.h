#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace zeilwerk {

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
    std::int64_t variable = 0;       // what \v[n] prints in the game's look
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
// the line (writing to trace) and reads the settings, throwing for a setting that is no number.
std::optional<PreviewLine> layOutLine(const std::u16string& line, int index, const RenderSettings& settings,
                                      int ascent, TraceSink* trace);
// The same for a line's visible text.
std::optional<PreviewLine> layOutVisible(const std::u16string& visible, int index, const RenderSettings& settings,
                                         int ascent);

}  // namespace zeilwerk
