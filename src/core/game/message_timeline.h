#pragma once

#include "core/game/game_message.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zeilwerk {

class CodePage;

inline constexpr int kGameFramesPerSecond = 60;

// A moment of a message being played: from frame on, the first `shown` pieces that
// layOutGameMessage sets are drawn; a key wait stops the clock there until a key is pressed.
struct MessageStep {
    enum class Kind : std::uint8_t { Show, KeyWait, End };
    int frame = 0;  // counted from the message's start, key waits not counted
    std::size_t shown = 0;
    Kind kind = Kind::Show;
    bool operator==(const MessageStep&) const = default;
};

struct MessageTimeline {
    std::vector<MessageStep> steps;  // by frame; the last one is End
    std::size_t pieces = 0;          // all of the message's pieces
    bool waitsAtEnd = true;          // false after "\^"
    int frames = 0;                  // the message's length, key waits not counted
    int keyPresses = 0;              // "\!" and the one at the end
};

// When the engine shows each piece of a message and where it waits, read with
// layOutGameMessage's reading of the codes: the speed, colour and "\>" start afresh.
// Only the message's lineCount lines are played.
MessageTimeline messageTimeline(const GameMessageText& message, const CodePage& page);

// The same for a message of any number of lines, shown as pages of four as the engine shows
// them: each page but the last waits for its key (unless "\^" stood on it), and the next
// starts a frame later, afresh. The other fields of like are taken for every page; a step's
// shown counts the pieces of its own page.
MessageTimeline pagedMessageTimeline(const std::vector<std::u16string>& lines, const GameMessageText& like,
                                     const CodePage& page);

}  // namespace zeilwerk
