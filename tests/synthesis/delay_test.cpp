#include "platform/virtual_clock.h"
#include "synthesis/Delay.h"

#include <gtest/gtest.h>

using platform::ScopedVirtualClock;

TEST(ComputeUnitMs, WorkedSpeeds)
{
    const struct {
        const char* text;
        int unit;
    } cases[] = {
        {"20", 300}, {"25", 240}, {"32", 187}, {"45", 133}, {"60", 100}, {"80", 75},
        {"96", 62},  {"100", 60}, {"101", 59}, {"160", 38}, {"173", 35}, {"174", 34},
        {"250", 24}, {"1", 6000}, {"0", 0},    {"", 0},     {"abc", 0},  {"32768", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComputeUnitMs(QString::fromUtf8(c.text)), c.unit) << c.text;
    }
    // Fractions round halves to even: 44.5 reads as 44, 45.5 as 46.
    EXPECT_EQ(ComputeUnitMs("44.5"), ComputeUnitMs("44"));
    EXPECT_EQ(ComputeUnitMs("45.5"), ComputeUnitMs("46"));
    // A speed of 0 or less has no unit.
    EXPECT_EQ(ComputeUnitMs("-45"), 0);
}

TEST(WaitMilliseconds, ZeroAndNegativeReturnWithoutYielding)
{
    ScopedVirtualClock vc;
    WaitMilliseconds(0);
    WaitMilliseconds(-5);
    EXPECT_EQ(vc->yields(), 0u);
    WaitMilliseconds(1);
    EXPECT_GE(vc->yields(), 1u);
    EXPECT_EQ(vc->now(), 1001);
}

TEST(WaitMilliseconds, EventsDueDuringTheWaitRunBeforeItReturns)
{
    ScopedVirtualClock vc(0);
    platform::Tick clickedAt = -1;
    vc->callAt(30, [&] { clickedAt = vc->now(); });
    WaitMilliseconds(80);
    EXPECT_EQ(clickedAt, 30);
    EXPECT_EQ(vc->now(), 80);
}

TEST(WaitMilliseconds, ALongHandlerInsideTheWaitLengthensIt)
{
    ScopedVirtualClock vc(0);
    vc->callAt(10, [&] { vc->block(500); });
    WaitMilliseconds(80);
    EXPECT_EQ(vc->now(), 510);
}

TEST(WaitMilliseconds, NestedWaitsResumeTheOuterOne)
{
    ScopedVirtualClock vc(0);
    platform::Tick innerEnd = -1;
    vc->callAt(20, [&] {
        WaitMilliseconds(200);
        innerEnd = vc->now();
    });
    WaitMilliseconds(100);
    EXPECT_EQ(innerEnd, 220);
    EXPECT_GE(vc->now(), 220);
}
