#include "components/sonokit/pulse_link.h"

#include <pulse/timeval.h>

#include <chrono>

namespace {
// Long enough for a busy server on this machine, short enough that a stuck one is noticed.
constexpr auto kAnswerWait = std::chrono::milliseconds(1000);
constexpr auto kConnectWait = std::chrono::milliseconds(2000);
constexpr pa_usec_t kRetryDelay = 1'000'000;

constexpr auto kEvents = static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SINK_INPUT |
                                                             PA_SUBSCRIPTION_MASK_SERVER);
}  // namespace

PulseLink::PulseLink(std::string server, Listener& listener)
    : server_(std::move(server)), listener_(listener), loop_(pa_threaded_mainloop_new())
{
    if (loop_ && pa_threaded_mainloop_start(loop_) < 0) {
        pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
    }
}

PulseLink::~PulseLink()
{
    if (!loop_)
        return;
    {
        Lock lock(*this);
        retrying_ = false;
        if (retry_) {
            pa_threaded_mainloop_get_api(loop_)->time_free(retry_);
            retry_ = nullptr;
        }
        dropContext();
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

bool PulseLink::connect()
{
    if (!loop_ || pa_threaded_mainloop_in_thread(loop_))
        return false;
    if (up())
        return true;
    {
        Lock lock(*this);
        if (!startConnecting())
            return false;
    }
    std::unique_lock guard(mutex_);
    changed_.wait_for(guard, kConnectWait, [this] { return phase_ != Phase::Connecting; });
    return up();
}

void PulseLink::setRetrying(bool on)
{
    if (!loop_)
        return;
    Lock lock(*this);
    retrying_ = on;
    if (!on && retry_) {
        pa_threaded_mainloop_get_api(loop_)->time_free(retry_);
        retry_ = nullptr;
    }
}

bool PulseLink::await(Answer& answer, const std::function<pa_operation*(pa_context*, Answer*)>& start)
{
    if (!loop_ || pa_threaded_mainloop_in_thread(loop_))
        return false;
    answer.link = this;
    answer.done = false;
    answer.ok = false;
    pa_operation* operation = nullptr;
    {
        Lock lock(*this);
        if (!up() || !context_ || !(operation = start(context_, &answer)))
            return false;
    }
    {
        std::unique_lock guard(mutex_);
        changed_.wait_for(guard, kAnswerWait, [&] { return answer.done || !up(); });
    }
    // Cancelled with the loop held, the callback can no longer touch the answer.
    Lock lock(*this);
    if (pa_operation_get_state(operation) == PA_OPERATION_RUNNING)
        pa_operation_cancel(operation);
    pa_operation_unref(operation);
    return answer.done && answer.ok;
}

void PulseLink::Answer::finish(bool success)
{
    {
        std::lock_guard guard(link->mutex_);
        done = true;
        ok = success;
    }
    link->changed_.notify_all();
}

bool PulseLink::startConnecting()
{
    if (phase_ != Phase::Down)
        return true;
    dropContext();
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Quintara");
    if (!context_)
        return false;
    pa_context_set_state_callback(context_, &PulseLink::stateChanged, this);
    pa_context_set_subscribe_callback(context_, &PulseLink::subscribed, this);
    setPhase(Phase::Connecting);
    // Never start a server of our own: no server means no mixer.
    if (pa_context_connect(context_, server_.empty() ? nullptr : server_.c_str(), PA_CONTEXT_NOAUTOSPAWN, nullptr) <
        0) {
        setPhase(Phase::Down);
        dropContext();
        return false;
    }
    return true;
}

void PulseLink::dropContext()
{
    if (!context_)
        return;
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_set_subscribe_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
}

void PulseLink::setPhase(Phase phase)
{
    {
        std::lock_guard guard(mutex_);
        phase_ = phase;
    }
    changed_.notify_all();
}

void PulseLink::scheduleRetry()
{
    if (!retrying_ || retry_)
        return;
    timeval due{};
    pa_timeval_add(pa_gettimeofday(&due), kRetryDelay);
    retry_ = pa_threaded_mainloop_get_api(loop_)->time_new(pa_threaded_mainloop_get_api(loop_), &due,
                                                            &PulseLink::retryDue, this);
}

void PulseLink::retryDue(pa_mainloop_api* api, pa_time_event* event, const struct timeval*, void* self)
{
    auto* link = static_cast<PulseLink*>(self);
    api->time_free(event);
    link->retry_ = nullptr;
    if (link->retrying_ && !link->startConnecting())
        link->scheduleRetry();
}

void PulseLink::stateChanged(pa_context* context, void* self)
{
    auto* link = static_cast<PulseLink*>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        pa_operation* subscription;
        if ((subscription = pa_context_subscribe(context, kEvents, nullptr, nullptr)))
            pa_operation_unref(subscription);
        link->setPhase(Phase::Up);
        link->listener_.connected(context);
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED: {
        const bool wasUp = link->phase_ == Phase::Up;
        link->setPhase(Phase::Down);
        if (wasUp)
            link->listener_.lost();
        link->scheduleRetry();
        break;
    }
    default:
        break;
    }
}

void PulseLink::subscribed(pa_context* context, pa_subscription_event_type_t type, uint32_t index, void* self)
{
    auto* link = static_cast<PulseLink*>(self);
    link->listener_.event(context, type, index);
}
