#pragma once
#include "platform/clock.h"

#include <functional>

namespace forms {

class Form;

// Ticks through the clock: a tick is a clock call at the moment the interval has run
// out, re-armed for now + Interval when the handler returns (so ticks missed while the
// thread was busy collapse into one, and a tick never nests inside its own handler).
// Interval 0 never ticks. Enabled from off starts a fresh interval; writing Interval while
// enabled restarts the count; enabling an enabled timer changes nothing. Ticks run inside
// any wait, modal loops included. An unloaded form's timers stop.
class Timer {
public:
    explicit Timer(Form& form);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    int interval() const { return interval_; }
    void setInterval(int ms);

    std::function<void()> onTimer;

    // The layer's own use.
    void stop();

private:
    void arm();
    void disarm();
    void tick();

    Form* form_;
    bool enabled_ = true;
    int interval_ = 0;
    bool running_ = false;
    platform::CallId call_ = 0;
    platform::Clock* armedOn_ = nullptr;
};

} // namespace forms
