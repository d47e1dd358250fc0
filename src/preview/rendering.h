#pragma once

#include <QString>

#include <array>
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

// Draws the four message lines into the preview's layers as the Maker shows them.
// A line length or alignment that is no number throws, ending the run at that line.
void renderPreview(TForm3& preview, const std::array<std::u16string, 4>& lines, const RenderSettings& settings,
                   TraceSink* trace);

}  // namespace zeilwerk
