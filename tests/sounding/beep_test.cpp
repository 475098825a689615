#include "platform/virtual_clock.h"
#include "sounding/makeBeep.h"
#include "support/play_log.h"

#include <gtest/gtest.h>

using platform::ScopedVirtualClock;

namespace {
struct BeepFixture : ::testing::Test {
    ScopedVirtualClock vc{0};
    void SetUp() override
    {
        platform::sound().enableLog();
        platform::sound().clearLog();
        LastBeepSymbol = "before";
    }
};
} // namespace

TEST_F(BeepFixture, ElementsGapsAndTheTrailingGap)
{
    BeepMorseRow(5, "E", 100, 300, 800); // E: one dot, then the dash-length gap
    EXPECT_EQ(soundedSince(0), (std::vector<Sounded>{{0, "beep", 100}}));
    EXPECT_EQ(vc->now(), 400);
    EXPECT_EQ(LastBeepSymbol, "E");

    platform::sound().clearLog();
    BeepBTWordGap("BT", 100, 300, 800); // -...- then 7 dots, nothing recorded
    EXPECT_EQ(soundedSince(400), (std::vector<Sounded>{{0, "beep", 300},
                                                       {400, "beep", 100},
                                                       {600, "beep", 100},
                                                       {800, "beep", 100},
                                                       {1000, "beep", 300}}));
    EXPECT_EQ(vc->now(), 400 + 1300 + 700);
    EXPECT_EQ(LastBeepSymbol, "E");
}

TEST_F(BeepFixture, CallsLastNPlusThreeUnitsAndRecordTheCallersName)
{
    const struct {
        int row;
        int units;
    } cases[] = {{48, 18} /* 訂正: eight dots */, {43, 16} /* BT */, {1, 8} /* A */, {71, 22} /* ホレ */};
    for (const auto& c : cases) {
        platform::Tick start = vc->now();
        BeepMorseRow(c.row, QString::fromUtf16(u"イ"), 50, 150, 700);
        EXPECT_EQ(vc->now() - start, c.units * 50) << c.row;
        EXPECT_EQ(LastBeepSymbol, QString::fromUtf16(u"イ"));
    }
    platform::Tick start = vc->now();
    BeepHoreWordGap("x", 10, 30, 700);
    EXPECT_EQ(vc->now() - start, 26 * 10);
}

TEST_F(BeepFixture, HandlersRunInTheGapsButNotDuringATone)
{
    platform::Tick ranAt = -1;
    vc->callAt(50, [&] { ranAt = vc->now(); }); // falls inside the first 300 ms tone of BT
    BeepMorseRow(43, "=", 100, 300, 800); // BT
    EXPECT_EQ(ranAt, 300); // the first gap after the tone
}
