#include "platform/virtual_clock.h"

#include <QCoreApplication>

namespace platform {

bool VirtualClock::runDue()
{
    bool ran = false;
    while (!calls_.empty() && calls_.begin()->first.first <= now_) {
        auto node = calls_.extract(calls_.begin());
        ran = true;
        node.mapped()(); // may nest further yields
    }
    return ran;
}

void VirtualClock::yield(std::optional<Tick> wakeAt)
{
    ++yields_;
    // Posted Qt events (widget updates, deferred work) run as they would in a real turn.
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (runDue())
        return;
    std::optional<Tick> next = wakeAt;
    if (!calls_.empty()) {
        Tick due = calls_.begin()->first.first;
        if (!next || due < *next)
            next = due;
    }
    if (!next)
        throw Stalled("virtual clock: a wait with no deadline and nothing scheduled");
    if (*next > now_)
        now_ = *next;
    runDue();
}

void VirtualClock::block(Tick ms)
{
    if (ms > 0)
        now_ += ms;
}

CallId VirtualClock::callAt(Tick due, std::function<void()> fn)
{
    CallId id = nextId_++;
    calls_.emplace(std::make_pair(due, id), std::move(fn));
    return id;
}

void VirtualClock::cancel(CallId id)
{
    for (auto it = calls_.begin(); it != calls_.end(); ++it) {
        if (it->first.second == id) {
            calls_.erase(it);
            return;
        }
    }
}

void VirtualClock::advance(Tick ms)
{
    Tick end = now_ + ms;
    while (!calls_.empty() && calls_.begin()->first.first <= end) {
        if (calls_.begin()->first.first > now_)
            now_ = calls_.begin()->first.first;
        runDue();
    }
    if (end > now_)
        now_ = end;
}

} // namespace platform
