#pragma once
#include "platform/clock.h"

#include <map>
#include <stdexcept>
#include <utility>

namespace platform {

// Thrown when a test waits for something that nothing scheduled will bring.
class Stalled : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Virtual time for tests. A yield runs what is due; when nothing is, it jumps to
// the next scheduled call or the caller's deadline and runs what is due then.
// Scripted user actions are calls scheduled with callAt.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(Tick start = 1000) : now_(start) {}

    Tick now() override { return now_; }
    void yield(std::optional<Tick> wakeAt) override;
    void block(Tick ms) override;
    CallId callAt(Tick due, std::function<void()> fn) override;
    void cancel(CallId id) override;

    // Moves time on by ms, running every call that falls due on the way.
    void advance(Tick ms);
    std::uint64_t yields() const { return yields_; }

private:
    bool runDue();

    Tick now_;
    CallId nextId_ = 1;
    std::uint64_t yields_ = 0;
    std::map<std::pair<Tick, CallId>, std::function<void()>> calls_;
};

// Installs a VirtualClock for the lifetime of a scope.
class ScopedVirtualClock {
public:
    explicit ScopedVirtualClock(Tick start = 1000) : clock_(start) { setClock(&clock_); }
    ~ScopedVirtualClock() { setClock(nullptr); }
    VirtualClock& operator*() { return clock_; }
    VirtualClock* operator->() { return &clock_; }

private:
    VirtualClock clock_;
};

} // namespace platform
