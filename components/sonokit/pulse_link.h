#pragma once

#include <pulse/context.h>
#include <pulse/operation.h>
#include <pulse/subscribe.h>
#include <pulse/thread-mainloop.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

// One connection to the sound server, served by libpulse's own thread. A call from the GUI
// thread waits for the server's answer for a bounded time only, so a server that is gone or
// stuck makes the call fail instead of freezing the player. While retrying is on, a lost
// connection is tried again every second.
class PulseLink {
public:
    // What the link tells its owner, all on libpulse's thread with the loop locked.
    class Listener {
    public:
        virtual void connected(pa_context* context) = 0;
        virtual void lost() = 0;
        virtual void event(pa_context* context, pa_subscription_event_type_t type, uint32_t index) = 0;

    protected:
        ~Listener() = default;
    };

    // server: where the server listens ("unix:/path/native"); empty for the desktop's own.
    // The listener outlives the link.
    PulseLink(std::string server, Listener& listener);
    ~PulseLink();
    PulseLink(const PulseLink&) = delete;
    PulseLink& operator=(const PulseLink&) = delete;

    // Connects unless connected; true when the connection is up. GUI thread.
    bool connect();
    bool up() const { return phase_ == Phase::Up; }
    void setRetrying(bool on);

    // Holds the loop, which libpulse's thread holds while it runs a handler or a callback.
    class Lock {
    public:
        explicit Lock(PulseLink& link) : loop_(link.loop_) { pa_threaded_mainloop_lock(loop_); }
        ~Lock() { pa_threaded_mainloop_unlock(loop_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* loop_;
    };

    // What a waiting call receives; the callback of its operation calls finish, once.
    struct Answer {
        PulseLink* link = nullptr;
        bool done = false;
        bool ok = false;
        void finish(bool success);
    };
    // Starts one operation with the loop held and waits for its answer. False when the
    // connection is down, the operation cannot start, fails, or is not answered in time.
    bool await(Answer& answer, const std::function<pa_operation*(pa_context*, Answer*)>& start);

private:
    enum class Phase { Down, Connecting, Up };

    bool startConnecting();
    void dropContext();
    void setPhase(Phase phase);
    void scheduleRetry();
    static void stateChanged(pa_context* context, void* self);
    static void subscribed(pa_context* context, pa_subscription_event_type_t type, uint32_t index, void* self);
    static void retryDue(pa_mainloop_api* api, pa_time_event* event, const struct timeval*, void* self);

    const std::string server_;
    Listener& listener_;
    pa_threaded_mainloop* loop_ = nullptr;
    // Touched with the loop held.
    pa_context* context_ = nullptr;
    pa_time_event* retry_ = nullptr;
    bool retrying_ = false;
    // Wakes the GUI thread's waits.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<Phase> phase_{Phase::Down};
};
