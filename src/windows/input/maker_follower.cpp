#include "windows/input/maker_follower.h"

namespace zeilwerk {

MakerFollower::MakerFollower(MakerReader& reader, std::function<void(const Reading&)> take, QObject* parent)
    : QObject(parent), m_reader(reader), m_take(std::move(take)), m_worker(new QObject) {
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
}

MakerFollower::~MakerFollower() {
    m_timer.stop();
    QMetaObject::invokeMethod(m_worker, [this] { m_reader.stop(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void MakerFollower::start() {
    if (m_timer.isActive())
        return;
    m_timer.start();
    tick();  // at once, not a tick later
}

void MakerFollower::stop() {
    m_timer.stop();
}

void MakerFollower::tick() {
    if (m_reading)
        return;
    m_reading = true;
    QMetaObject::invokeMethod(m_worker, [this] {
        Reading reading;
        try {
            reading = m_reader.read();
        } catch (...) {
            // A reader that fails is a dialog not read, said once: the next tick tries again.
            reading = Reading{MakerReader::Status::NoAnswer, {}};
        }
        QMetaObject::invokeMethod(this, [this, reading = std::move(reading)] {
            m_reading = false;
            // A reading that arrives after "Mitlesen" went off is not taken.
            if (m_timer.isActive())
                m_take(reading);
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}

std::u16string memoTextOf(const std::u16string& dialogText) {
    std::u16string text;
    text.reserve(dialogText.size());
    for (size_t i = 0; i < dialogText.size(); ++i) {
        if (dialogText[i] == u'\r') {
            text += u'\n';
            if (i + 1 < dialogText.size() && dialogText[i + 1] == u'\n')
                ++i;
        } else {
            text += dialogText[i];
        }
    }
    return text;
}

}  // namespace zeilwerk
