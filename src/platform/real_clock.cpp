#include "platform/real_clock.h"

#include <QCoreApplication>
#include <QTimerEvent>
#include <thread>

namespace platform {

namespace {
RealClock* realClock()
{
    static RealClock* instance = new RealClock; // lives as long as the process
    return instance;
}
Clock* installed = nullptr;
} // namespace

Clock& clock() { return installed ? *installed : *realClock(); }
void setClock(Clock* c) { installed = c; }

RealClock::RealClock() : origin_(std::chrono::steady_clock::now()) {}

Tick RealClock::now()
{
    // Start above zero so that "never" (0) is never a real reading.
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - origin_).count() + 1000;
}

void RealClock::yield(std::optional<Tick> wakeAt)
{
    using namespace std::chrono;
    // The real moment the tick counter reaches wakeAt.
    const auto deadline = [&] { return origin_ + milliseconds(*wakeAt - 1000); };
    if (!QCoreApplication::instance()) {
        if (wakeAt)
            std::this_thread::sleep_until(deadline());
        return;
    }
    if (wakeAt && *wakeAt <= now()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    int wake = 0;
    if (wakeAt) {
        // The event loop's timers are whole milliseconds and wake late by up to one,
        // which every gap of a live run would add up: sleep in the loop until shortly
        // before the deadline, then the last stretch exactly, with no event waiting.
        const auto left = duration_cast<microseconds>(deadline() - steady_clock::now());
        if (left <= milliseconds(2)) {
            std::this_thread::sleep_until(deadline());
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            return;
        }
        wake = startTimer(duration_cast<milliseconds>(left - milliseconds(1)), Qt::PreciseTimer);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (wake)
        killTimer(wake);
}

void RealClock::block(Tick ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

CallId RealClock::callAt(Tick due, std::function<void()> fn)
{
    Tick delay = due - now();
    int id = startTimer(std::chrono::milliseconds(delay < 0 ? 0 : delay), Qt::PreciseTimer);
    calls_[id] = std::move(fn);
    return static_cast<CallId>(id);
}

void RealClock::cancel(CallId id)
{
    auto it = calls_.find(static_cast<int>(id));
    if (it == calls_.end())
        return;
    killTimer(it->first);
    calls_.erase(it);
}

void RealClock::timerEvent(QTimerEvent* event)
{
    // The wake-up timer of a yield has no entry: its only job is to end the wait.
    auto it = calls_.find(event->timerId());
    if (it == calls_.end())
        return;
    killTimer(it->first);
    auto fn = std::move(it->second);
    calls_.erase(it);
    fn();
}

} // namespace platform
