#include "core/game/message_timeline.h"

#include <algorithm>

namespace zeilwerk {
namespace {

using Event = GameMessageEvent::Kind;

// Time is counted in half frames: at speed 1 two half-width characters fit in a frame.
int characterTime(int speed, bool fullWidth) {
    if (speed <= 1)
        return fullWidth ? 2 : 1;
    return 2 * (fullWidth ? speed + 1 : speed / 2 + 1);
}

bool takesACharactersTime(Event kind) {
    return kind == Event::Piece || kind == Event::HalfSpace || kind == Event::Money;
}

}  // namespace

MessageTimeline messageTimeline(const GameMessageText& message, const CodePage& page) {
    std::vector<GameMessageEvent> events;
    const std::vector<GamePiece> pieces = layOutGameMessage(message, page, &events);
    MessageTimeline timeline;
    timeline.pieces = pieces.size();
    std::vector<MessageStep>& steps = timeline.steps;
    // The page's last character holds a time of its own, whatever the speed.
    size_t last = events.size();
    for (size_t i = 0; i < events.size(); ++i)
        if (takesACharactersTime(events[i].kind))
            last = i;

    int speed = 1;
    bool instant = false;
    std::int64_t half = 0;
    size_t shown = 0;
    const auto frame = [&] { return static_cast<int>(std::min<std::int64_t>(half / 2, 1'000'000'000)); };
    // A wait begins on a whole frame.
    const auto wholeFrame = [&] { half = (half + 1) / 2 * 2; };
    for (size_t i = 0; i < events.size(); ++i) {
        const GameMessageEvent& e = events[i];
        if (takesACharactersTime(e.kind)) {
            bool fullWidth = false;
            if (e.kind == Event::Piece) {
                shown = static_cast<size_t>(e.value) + 1;
                if (!steps.empty() && steps.back().kind == MessageStep::Kind::Show && steps.back().frame == frame())
                    steps.back().shown = shown;
                else
                    steps.push_back({frame(), shown, MessageStep::Kind::Show});
                fullWidth = pieces[static_cast<size_t>(e.value)].width > kGameCell;
            }
            half += i == last ? 4 : instant ? 0 : characterTime(speed, fullWidth);
            continue;
        }
        switch (e.kind) {
        case Event::Speed:
            speed = std::clamp(e.value, 1, 20);
            break;
        case Event::Wait:
            half += 2 * e.value;
            break;
        case Event::KeyWait:
            wholeFrame();
            steps.push_back({frame(), shown, MessageStep::Kind::KeyWait});
            ++timeline.keyPresses;
            break;
        case Event::NoEndWait:
            timeline.waitsAtEnd = false;
            break;
        case Event::Instant:
            instant = true;
            break;
        case Event::InstantEnd:
            instant = false;
            half += characterTime(speed, false);
            break;
        case Event::LineEnd:
            instant = false;
            half += 2 * e.value;
            break;
        default:
            break;
        }
    }
    wholeFrame();
    timeline.frames = frame();
    if (timeline.waitsAtEnd)
        ++timeline.keyPresses;
    steps.push_back({timeline.frames, shown, MessageStep::Kind::End});
    return timeline;
}

}  // namespace zeilwerk
