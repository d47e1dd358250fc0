#include "look/message_player.h"

#include "core/platform/code_page.h"
#include "look/game_look.h"
#include "look/game_rendering.h"

#include <QLocale>

#include <utility>

namespace zeilwerk {
namespace {

constexpr int kBlinkFrames = 20;  // the arrow's time on, and off

int framesAt(qint64 milliseconds) {
    return static_cast<int>(milliseconds * kGameFramesPerSecond / 1000);
}

}  // namespace

QString durationText(const MessageTimeline& timeline) {
    const double seconds = static_cast<double>(timeline.frames) / kGameFramesPerSecond;
    QString text = QStringLiteral("Dauer: %1 s").arg(QLocale(QLocale::German).toString(seconds, 'f', 1));
    if (timeline.keyPresses == 1)
        text += QStringLiteral(" (+ 1 Tastendruck)");
    else if (timeline.keyPresses > 1)
        text += QStringLiteral(" (+ %1 Tastendrücke)").arg(timeline.keyPresses);
    return text;
}

MessagePlayer::MessagePlayer(std::function<void(const QImage&)> show, std::function<void()> finished)
    : m_show(std::move(show)), m_finished(std::move(finished)) {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1000 / kGameFramesPerSecond);
    connect(&m_timer, &QTimer::timeout, this, [this] { advance(m_clock.elapsed()); });
}

void MessagePlayer::play(const GameLook& look, const std::array<std::u16string, 4>& lines,
                         const RenderSettings& settings) {
    m_look = &look;
    m_lines = lines;
    m_settings = settings;
    m_settings.game = &look;
    m_timeline = messageTimeline(gameMessageText(look, lines, settings), CodePage::system());
    m_next = 0;
    m_base = 0;
    m_shown = 0;
    m_playing = true;
    m_waiting = false;
    m_atEnd = false;
    m_arrow = false;
    m_drawn = false;
    m_clock.start();
    m_timer.start();
    advance(0);
}

void MessagePlayer::stop() {
    m_timer.stop();
    m_playing = false;
    m_look = nullptr;
}

void MessagePlayer::finish() {
    stop();
    if (m_finished)
        m_finished();
}

void MessagePlayer::answerKey() {
    if (!waitingForKey())
        return;
    if (m_atEnd) {
        finish();
        return;
    }
    // The clock goes on from the frame it waited at.
    m_waiting = false;
    m_base = m_timeline.steps[m_next - 1].frame;
    m_clock.restart();
    advance(0);
}

void MessagePlayer::advance(qint64 milliseconds) {
    if (!m_playing)
        return;
    const int clockFrame = framesAt(milliseconds);
    if (!m_waiting) {
        const int frame = m_base + clockFrame;
        const std::vector<MessageStep>& steps = m_timeline.steps;
        while (m_next < steps.size() && steps[m_next].frame <= frame) {
            const MessageStep& step = steps[m_next++];
            m_shown = step.shown;
            if (step.kind == MessageStep::Kind::Show)
                continue;
            m_atEnd = step.kind == MessageStep::Kind::End;
            if (m_atEnd && !m_timeline.waitsAtEnd) {
                // Nothing to wait for: the message stands as the still picture shows it.
                m_arrow = true;
                m_drawn = false;
                draw();
                finish();
                return;
            }
            m_waiting = true;
            m_waitFrom = step.frame - m_base;
            break;
        }
    }
    const bool arrow = m_waiting && (clockFrame - m_waitFrom) / kBlinkFrames % 2 == 0;
    if (arrow != m_arrow)
        m_drawn = false;
    m_arrow = arrow;
    draw();
}

void MessagePlayer::draw() {
    if (m_drawn && m_shown == m_drawnShown)
        return;
    const GameMessageFrame frame{m_shown, m_arrow ? nullptr : &m_look->bareWindow};
    drawGameMessage(*m_look, m_lines, m_settings, nullptr, m_picture, &frame);
    m_drawnShown = m_shown;
    m_drawn = true;
    if (m_show)
        m_show(m_picture);
}

}  // namespace zeilwerk
