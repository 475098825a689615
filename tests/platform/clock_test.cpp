#include "platform/virtual_clock.h"

#include <gtest/gtest.h>

#include <vector>

using platform::ScopedVirtualClock;
using platform::Tick;

TEST(VirtualClock, YieldJumpsToTheNextCallOrDeadlineAndRunsWhatIsDue)
{
    ScopedVirtualClock vc(1000);
    std::vector<Tick> ran;
    vc->callAt(1300, [&] { ran.push_back(vc->now()); });
    vc->callAt(1100, [&] { ran.push_back(vc->now()); });

    vc->yield(1500); // the call at 1100 comes first
    EXPECT_EQ(vc->now(), 1100);
    vc->yield(1200); // the deadline comes before the call at 1300
    EXPECT_EQ(vc->now(), 1200);
    vc->yield(std::nullopt);
    EXPECT_EQ(vc->now(), 1300);
    EXPECT_EQ(ran, (std::vector<Tick>{1100, 1300}));
    EXPECT_THROW(vc->yield(std::nullopt), platform::Stalled);
}

TEST(VirtualClock, CancelledCallsDoNotRunAndBlockRunsNothing)
{
    ScopedVirtualClock vc(0);
    int runs = 0;
    auto id = vc->callAt(10, [&] { ++runs; });
    vc->callAt(20, [&] { ++runs; });
    vc->cancel(id);
    vc->block(50);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(vc->now(), 50);
    vc->yield(std::nullopt); // both overdue: the remaining one runs at once
    EXPECT_EQ(runs, 1);
}
