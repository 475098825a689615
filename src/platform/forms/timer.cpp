#include "platform/forms/timer.h"

#include "platform/failure.h"
#include "platform/forms/detail.h"

namespace forms {

Timer::Timer(Form& form)
    : form_(&form)
{
    form_->addTimer(this);
}

Timer::~Timer()
{
    disarm();
    form_->removeTimer(this);
}

void Timer::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    if (on)
        arm();
    else
        disarm();
}

void Timer::setInterval(int ms)
{
    if (ms < 0 || ms > 65535)
        throw platform::Failure(QStringLiteral("invalid property value: Interval = %1").arg(ms));
    interval_ = ms;
    disarm();
    arm();
}

void Timer::stop() { disarm(); }

void Timer::arm()
{
    // While the handler runs, the next interval starts when it returns.
    if (!enabled_ || interval_ <= 0 || running_ || !form_->isLoaded())
        return;
    disarm();
    platform::Clock& c = platform::clock();
    armedOn_ = &c;
    call_ = c.callAt(c.now() + interval_, [this] { tick(); });
}

void Timer::disarm()
{
    if (call_ && armedOn_ == &platform::clock())
        platform::clock().cancel(call_);
    call_ = 0;
    armedOn_ = nullptr;
}

void Timer::tick()
{
    call_ = 0;
    armedOn_ = nullptr;
    if (!enabled_ || interval_ <= 0 || !form_->isLoaded())
        return;
    struct Running {
        bool& flag;
        Running(bool& f)
            : flag(f)
        {
            flag = true;
        }
        ~Running() { flag = false; }
    };
    {
        Running running(running_);
        detail::userEvent(*form_, [this] { form_->raise(onTimer); });
    }
    arm();
}

} // namespace forms
