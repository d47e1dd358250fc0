#pragma once

#include "maker/maker_reader.h"

#include <QObject>
#include <QThread>
#include <QTimer>

#include <functional>
#include <string>

namespace zeilwerk {

// "Mitlesen": reads the Maker's message dialog about ten times a second on a thread of its
// own, as a read may block on the bridge, and hands each reading to the GUI thread. One read
// at a time: a tick while one is under way is skipped.
class MakerFollower : public QObject {
public:
    using Reading = MakerReader::Reading;
    MakerFollower(MakerReader& reader, std::function<void(const Reading&)> take, QObject* parent = nullptr);
    // Waits for a read under way, then lets the reader go on its thread.
    ~MakerFollower() override;

    void start();
    void stop();
    bool running() const { return m_timer.isActive(); }

    static constexpr int intervalMs = 100;

private:
    void tick();

    MakerReader& m_reader;
    std::function<void(const Reading&)> m_take;
    QThread m_thread;
    QObject* m_worker;  // lives on m_thread; the reads are queued to it
    QTimer m_timer;
    bool m_reading = false;
};

// The dialog's text as the input memo holds it: lines ended by "\n", not the Windows "\r\n".
std::u16string memoTextOf(const std::u16string& dialogText);

}  // namespace zeilwerk
