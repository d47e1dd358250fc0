#pragma once

#include "core/game/message_timeline.h"
#include "look/rendering.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <string>

namespace zeilwerk {

struct GameLook;

// The message's length for the preview: "Dauer: 3,4 s (+ 2 Tastendrücke)".
QString durationText(const MessageTimeline& timeline);

// Plays a message in the game's look, frame by frame as the engine prints it. The clock is
// monotonic: a slow frame is skipped, never stretched. Each frame is drawn as the still
// picture is, so the last one equals it; the "more" arrow blinks while a key is awaited.
class MessagePlayer : public QObject {
public:
    // show receives every frame drawn; finished is called when the play ends by itself or by a key.
    MessagePlayer(std::function<void(const QImage&)> show, std::function<void()> finished);

    // Starts over. The look must live until the play stops; playing reads no files.
    void play(const GameLook& look, const std::array<std::u16string, 4>& lines, const RenderSettings& settings);
    // Ends the play at once, drawing nothing more.
    void stop();
    bool playing() const { return m_playing; }
    bool waitingForKey() const { return m_playing && m_waiting; }
    // Enter, Space or a click: answers "\!" or the wait at the end.
    void answerKey();

    // Shows the frame the clock reads milliseconds after the play started or last went on
    // after a key; the timer calls it with the time elapsed.
    void advance(qint64 milliseconds);
    const MessageTimeline& timeline() const { return m_timeline; }
    std::size_t shown() const { return m_shown; }
    bool arrowShown() const { return m_arrow; }
    const QImage& picture() const { return m_picture; }

private:
    void draw();
    void finish();

    std::function<void(const QImage&)> m_show;
    std::function<void()> m_finished;
    QTimer m_timer;
    QElapsedTimer m_clock;
    const GameLook* m_look = nullptr;
    std::array<std::u16string, 4> m_lines;
    RenderSettings m_settings;
    MessageTimeline m_timeline;
    QImage m_picture;
    std::size_t m_next = 0;   // the first step not yet reached
    int m_base = 0;           // the message's frame when the clock last started
    int m_waitFrom = 0;       // the clock's frame when the wait began
    std::size_t m_shown = 0;
    bool m_playing = false;
    bool m_waiting = false;
    bool m_atEnd = false;
    bool m_arrow = false;
    bool m_drawn = false;     // the picture shows m_drawnShown and m_arrow
    std::size_t m_drawnShown = 0;
};

}  // namespace zeilwerk
