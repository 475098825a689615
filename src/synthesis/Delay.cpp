#include "synthesis/Delay.h"

#include "platform/clock.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "synthesis/ToneOptions.h"

std::int16_t ComputeUnitMs(const QString& speedText)
{
    std::int16_t cpm = 0;
    float a = 0, b = 0, c = 0;
    std::int16_t result = 0;
    platform::ignoreErrors([&] { cpm = platform::textToInt16(speedText); });
    // A speed of 0 or less gives no unit (a negative one would time nothing sensibly).
    if (cpm <= 0)
        return 0;
    a = static_cast<float>(static_cast<double>(cpm) / 5.0);
    b = a * 50.0f;
    c = b / 60.0f;
    platform::ignoreErrors([&] { result = platform::toInt16(1000.0 / static_cast<double>(c)); });
    return result;
}

void WaitMilliseconds(std::int32_t ms)
{
    auto& clock = platform::clock();
    const platform::Tick start = clock.now();
    platform::Tick now = start;
    // The tick is read before the yield and compared after it, as the wait
    // always has; the difference is 64-bit so no uptime makes it wrap.
    while (now - start < ms) {
        now = clock.now();
        clock.yield(start + ms);
    }
}

std::int32_t WaveCharacterWaitMs(int units, std::int16_t unitMs, std::int32_t extraMs)
{
    const double u = unitMs;
    return platform::toInt32(3.0 * u * static_cast<double>(CodeIntervalFactor) + units * u + extraMs);
}
