#pragma once

#include "core/game/game_checks.h"
#include "core/game/game_message.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zeilwerk {

class CodePage;

// How the flow measures text: in the game's pixels as the engine sets a line (the heroes'
// names, "\v[n]" as wide as "Breite von \v" counts), or, without the game's look, in the
// characters of the visible text at which the Maker's preview cuts a line. It keeps every
// width it measured, so a flow after one keystroke measures only the words that changed.
class LineMeasure {
public:
    static LineMeasure gamePixels(std::map<int, std::u16string> heroNames, const CheckSettings& settings,
                                  const CodePage& page);
    static LineMeasure characters();

    bool pixels() const { return m_page != nullptr; }
    GameTextExtent extent(std::u16string_view text);

private:
    std::map<int, std::u16string> m_heroNames;
    std::int64_t m_variable = 0;
    const CodePage* m_page = nullptr;
    std::unordered_map<std::u16string, GameTextExtent> m_known;
};

enum class FaceSide : std::uint8_t { None, Left, Right };

// What a line holds: 304 px, 232 beside a face on either side; in characters, the line length.
int lineRoom(const LineMeasure& measure, FaceSide face, int lineLength);

struct FlowOptions {
    int room = kTextWidth;
    bool speakerLine = true;  // "Sprecher oben": a paragraph's speaker heads each of its boxes
    bool balanced = false;    // "gleichmäßig": as few boxes, with lines as even as they go
};

inline constexpr int kBoxLines = 4;

struct FlowBox {
    std::vector<std::u16string> lines;  // 1 to 4, as they go into the Maker
    std::vector<int> overlong;          // the lines wider than the room: a word longer than a line
    std::size_t start = 0;              // where the box's text begins in the flowed text
    std::size_t paragraph = 0;
    bool speaker = false;               // the first line is the speaker's
    bool operator==(const FlowBox&) const = default;
};

// A conversation broken into the game's lines and boxes. Paragraphs are parted by an empty
// line and each starts a box; one that begins with a name and a colon ("Ortwin: ...") is
// spoken by that name. Lines break at spaces, and after the hyphen of a hyphenated word; a
// code stays with the word it touches. A colour or speed still on at a box's end is set
// again at the next one's start, as the game starts each message in colour 0 and speed 1.
std::vector<FlowBox> flowText(std::u16string_view text, LineMeasure& measure, const FlowOptions& options);

// The box whose text holds a place of the flowed text; 0 without boxes.
std::size_t boxAt(const std::vector<FlowBox>& boxes, std::size_t offset);

// The box's four lines, empty ones after its own.
std::array<std::u16string, kBoxLines> boxLines(const FlowBox& box);

// The boxes one after another, their lines ended by line feeds and an empty line between.
std::u16string boxesAsText(const std::vector<FlowBox>& boxes);

}  // namespace zeilwerk
