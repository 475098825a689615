#pragma once
#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

using Tick = std::int64_t; // milliseconds
using CallId = std::uint64_t;

// The one source of time and of the yield to the event loop. The program uses
// RealClock (steady clock, Qt's event loop); tests install a VirtualClock so that
// long runs take no real time and every moment is exact.
class Clock {
public:
    virtual ~Clock() = default;

    // Millisecond tick counter: 64-bit, monotonic.
    virtual Tick now() = 0;

    // Handles every pending event once. With wakeAt, may sleep until that
    // moment or the next event, whichever comes first; without, may sleep until
    // the next event.
    virtual void yield(std::optional<Tick> wakeAt = std::nullopt) = 0;

    // Blocks the thread for ms without handling any event (Beep, synchronous play).
    virtual void block(Tick ms) = 0;

    // Runs fn once at (or after) the moment due, from the event loop.
    virtual CallId callAt(Tick due, std::function<void()> fn) = 0;
    virtual void cancel(CallId id) = 0;

    CallId callAfter(Tick ms, std::function<void()> fn) { return callAt(now() + ms, std::move(fn)); }
};

Clock& clock();
// Installs another clock (tests); nullptr restores the real clock.
void setClock(Clock* c);

} // namespace platform
