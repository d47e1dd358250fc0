#include "core/game/message_timeline.h"

#include <algorithm>

namespace zeilwerk {
namespace {

using Event = GameMessageEvent::Kind;

constexpr int kPageEnd = 2;      // frames the page's last character, or its end, holds
constexpr std::int64_t kMaxFrames = 1'000'000'000;

bool printsACharacter(Event kind) {
    return kind == Event::Piece || kind == Event::HalfSpace;
}

// Plays the pages of a message one after the other on one clock, in whole frames.
class PageClock {
public:
    explicit PageClock(MessageTimeline& timeline) : m_timeline(timeline) {}

    std::int64_t frame() const { return m_frame; }
    void pause(int frames) { m_frame += frames; }

    // One page of at most four lines; the speed, colour and "\>" start afresh.
    void playPage(const GameMessageText& message, const CodePage& page) {
        std::vector<GameMessageEvent> events;
        m_pieces = layOutGameMessage(message, page, &events);
        m_timeline.pieces = m_pieces.size();
        m_speed = 1;
        m_instant = false;
        m_shown = 0;
        const int lines = std::clamp(message.lineCount, 0, 4);
        size_t begin = 0;
        for (int line = 0; line < lines; ++line) {
            size_t end = begin;
            while (end < events.size() && events[end].kind != Event::LineEnd)
                ++end;
            playLine(events, begin, end, line == lines - 1);
            begin = end + 1;
        }
    }

    void step(MessageStep::Kind kind) {
        const int at = static_cast<int>(std::min(m_frame, kMaxFrames));
        std::vector<MessageStep>& steps = m_timeline.steps;
        if (kind == MessageStep::Kind::Show && !steps.empty() && steps.back().kind == kind && steps.back().frame == at)
            steps.back().shown = m_shown;
        else
            steps.push_back({at, m_shown, kind});
    }

private:
    // At speed 1 two places of a line share a frame: the 2nd, 4th, ... waits one, as does
    // the line's last character; a code printing nothing takes a place once the line has
    // printed something.
    void playLine(const std::vector<GameMessageEvent>& events, size_t begin, size_t end, bool pageEnd) {
        size_t lastCharacter = end;
        for (size_t i = begin; i < end; ++i)
            if (printsACharacter(events[i].kind))
                lastCharacter = i;
        int place = 0;
        bool printed = false;
        bool halfDidNotWait = false;  // a full-width glyph right after it waits a frame more
        for (size_t i = begin; i < end; ++i) {
            const GameMessageEvent& e = events[i];
            int wait = 0;
            if (printsACharacter(e.kind)) {
                const bool fullWidth = e.kind == Event::Piece && m_pieces[static_cast<size_t>(e.value)].width > kGameCell;
                if (e.kind == Event::Piece) {
                    m_shown = static_cast<size_t>(e.value) + 1;
                    step(MessageStep::Kind::Show);
                }
                if (m_speed == 1) {
                    place += fullWidth ? 2 - place % 2 : 1;
                    wait = fullWidth ? 1 + (halfDidNotWait ? 1 : 0) : (place % 2 == 0 || i == lastCharacter ? 1 : 0);
                } else {
                    place += fullWidth ? 2 : 1;
                    wait = fullWidth ? m_speed + 1 : m_speed / 2 + 1;
                }
                if (m_instant)
                    wait = 0;
                else if (pageEnd && i + 1 == end)
                    wait = kPageEnd;
                halfDidNotWait = !fullWidth && wait == 0;
                printed = true;
                pause(wait);
                continue;
            }
            halfDidNotWait = false;
            if (printed)
                ++place;
            const bool placeWaits = printed && m_speed == 1 && place % 2 == 0 && !m_instant;
            switch (e.kind) {
            case Event::Speed:
                wait = placeWaits ? 1 : 0;
                m_speed = std::clamp(e.value, 1, 20);
                break;
            case Event::Code:
                wait = placeWaits ? 1 : 0;
                break;
            case Event::Instant:
                wait = placeWaits ? 1 : 0;
                m_instant = true;
                break;
            case Event::Wait:
                wait = m_instant ? 0 : e.value;
                break;
            case Event::KeyWait:
                step(MessageStep::Kind::KeyWait);
                ++m_timeline.keyPresses;
                break;
            case Event::NoEndWait:
                m_timeline.waitsAtEnd = false;
                wait = m_instant ? 0 : m_speed;
                break;
            case Event::InstantEnd:
                m_instant = false;
                wait = m_speed;
                break;
            case Event::Money:
            case Event::Unknown:
                wait = m_instant ? 0 : m_speed;
                break;
            default:
                break;
            }
            pause(wait);
        }
        // After a printed character the line ends at once; after a code or on an empty line
        // it takes a frame, two at the page's end; "\>" skips all but the page's end.
        const bool afterCharacter = end > begin && printsACharacter(events[end - 1].kind);
        if (pageEnd)
            pause(afterCharacter && !m_instant ? 0 : kPageEnd);
        else if (!afterCharacter && !m_instant)
            pause(1);
    }

    MessageTimeline& m_timeline;
    std::vector<GamePiece> m_pieces;
    std::int64_t m_frame = 0;
    int m_speed = 1;
    bool m_instant = false;
    size_t m_shown = 0;
};

}  // namespace

MessageTimeline pagedMessageTimeline(const std::vector<std::u16string>& lines, const GameMessageText& like,
                                     const CodePage& page) {
    MessageTimeline timeline;
    PageClock clock(timeline);
    size_t first = 0;
    for (;;) {
        GameMessageText text = like;
        text.lineCount = static_cast<int>(std::min<size_t>(4, lines.size() - first));
        for (size_t i = 0; i < 4; ++i)
            text.lines[i] = first + i < lines.size() ? lines[first + i] : std::u16string();
        timeline.waitsAtEnd = true;
        clock.playPage(text, page);
        first += 4;
        if (first >= lines.size())
            break;
        // Each page but the last waits for its key; the next starts a frame later.
        if (timeline.waitsAtEnd) {
            clock.step(MessageStep::Kind::KeyWait);
            ++timeline.keyPresses;
        }
        clock.pause(1);
    }
    timeline.frames = static_cast<int>(std::min(clock.frame(), kMaxFrames));
    if (timeline.waitsAtEnd)
        ++timeline.keyPresses;
    clock.step(MessageStep::Kind::End);
    return timeline;
}

MessageTimeline messageTimeline(const GameMessageText& message, const CodePage& page) {
    const auto lines = static_cast<std::ptrdiff_t>(std::clamp(message.lineCount, 0, 4));
    return pagedMessageTimeline({message.lines.begin(), message.lines.begin() + lines}, message, page);
}

}  // namespace zeilwerk
