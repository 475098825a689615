#pragma once
#include "platform/clock.h"

#include <QObject>
#include <chrono>
#include <map>

namespace platform {

// Steady clock and Qt's event loop. A yield with a deadline blocks in the event
// loop until the deadline or the next event, so waits leave the CPU idle.
class RealClock : public QObject, public Clock {
public:
    RealClock();
    Tick now() override;
    void yield(std::optional<Tick> wakeAt) override;
    void block(Tick ms) override;
    CallId callAt(Tick due, std::function<void()> fn) override;
    void cancel(CallId id) override;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    std::chrono::steady_clock::time_point origin_;
    std::map<int, std::function<void()>> calls_; // Qt timer id -> call
};

} // namespace platform
