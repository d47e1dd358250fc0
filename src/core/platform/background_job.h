#pragma once

#include <atomic>
#include "core/platform/error.h"

#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>

namespace zeilwerk {

// Work on a thread of its own that its owner can leave at any moment: abandon() returns at once,
// however long the work still runs (opening a dictionary cannot be interrupted), and from then
// on nothing the work hands over reaches the owner. The work looks at its stop flag often and
// ends soon after. An exception that leaves the work is handed over as a German text.
class BackgroundJob {
public:
    using Task = std::function<void()>;
    // How a result reaches the owner, e.g. queued to its thread.
    using Deliver = std::function<void(Task)>;
    // What the work gets: its stop flag and the way to hand results over.
    struct Context {
        const std::atomic<bool>& stop;
        std::function<void(Task)> hand;
    };

    explicit BackgroundJob(Deliver deliver) : m_deliver(std::move(deliver)) {}
    ~BackgroundJob() { abandon(); }
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    // Leaves any work under way and starts work(context); failed(text) is handed over when it throws.
    template <typename Work, typename Failed>
    void start(Work work, Failed failed) {
        abandon();
        auto state = std::make_shared<State>();
        state->deliver = m_deliver;
        m_state = state;
        std::thread([state, work = std::move(work), failed = std::move(failed)]() mutable {
            const auto hand = [state](Task task) {
                const std::lock_guard lock(state->mutex);
                if (!state->abandoned)
                    state->deliver(std::move(task));
            };
            try {
                work(Context{state->stop, hand});
            } catch (const Error& e) {
                hand([failed, text = std::string(e.what())] { failed(text); });
            } catch (const std::bad_alloc&) {
                hand([failed, text = std::string("Zu wenig Speicher für diese Arbeit.")] { failed(text); });
            } catch (const std::exception& e) {
                hand([failed, text = std::string("Unerwarteter Fehler: ") + e.what()] { failed(text); });
            } catch (...) {
                hand([failed] { failed("Unerwarteter Fehler."); });
            }
            state->finished.store(true);
        }).detach();
    }

    // Tells the work to stop and leaves it: returns at once.
    void abandon() {
        if (!m_state)
            return;
        m_state->stop.store(true);
        const std::lock_guard lock(m_state->mutex);
        m_state->abandoned = true;
        m_state.reset();
    }

    // Whether the last work started has ended (true when there was none or it was abandoned
    // and has since ended); for tests and for waiting at the end of the program.
    std::shared_ptr<const std::atomic<bool>> finishedFlag() const {
        return m_state ? std::shared_ptr<const std::atomic<bool>>(m_state, &m_state->finished) : nullptr;
    }

private:
    struct State {
        std::atomic<bool> stop{false};
        std::atomic<bool> finished{false};
        std::mutex mutex;
        bool abandoned = false;
        Deliver deliver;
    };
    Deliver m_deliver;
    std::shared_ptr<State> m_state;
};

}  // namespace zeilwerk
