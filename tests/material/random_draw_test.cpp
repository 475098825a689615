#include "keypad/UserChosen.h"
#include "material/RandomDraw.h"
#include "platform/process.h"
#include "platform/virtual_clock.h"

#include <gtest/gtest.h>

#include <set>

namespace {
// Every index the draw gives over many calls, the clock moving on between them.
template <typename Draw>
std::set<int> reached(Draw draw, int calls = 4000)
{
    platform::ScopedVirtualClock vc;
    platform::resetRandom(1);
    std::set<int> seen;
    for (int i = 0; i < calls; ++i) {
        vc->block(7);
        seen.insert(draw());
    }
    return seen;
}

std::set<int> span(int from, int to)
{
    std::set<int> s;
    for (int i = from; i <= to; ++i)
        s.insert(i);
    return s;
}
} // namespace

TEST(RandomDraw, LatinRangesReachExactlyTheirCandidates)
{
    std::set<int> lettersMarks = span(1, 26);
    for (int i : span(37, 48))
        lettersMarks.insert(i);
    const struct {
        const char* name;
        std::set<int> expected;
    } cases[] = {
        {"Limit_AtoE", span(1, 5)},        {"Limit_UtoZ", span(21, 26)},
        {"Limit_Numbers", span(27, 36)},   {"Limit_Marks", span(37, 48)},
        {"Limit_AlphabetsMarks", lettersMarks}, {"Limit_NumbersMarks", span(27, 48)},
        {"Limit_All", span(1, 48)},        {"Limit_all", {0}}, {"", {0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reached([&] { return DrawLatinIndex(c.name); }), c.expected) << c.name;
    EXPECT_EQ(PickRandomLatin("Limit_all"), QString());
}

TEST(RandomDraw, UserSetsDrawOnlyChosenCharacters)
{
    LatinUserChosen.fill(0);
    LatinUserChosen[2] = 2;
    LatinUserChosen[5] = 5;
    LatinUserChosen[48] = 48;
    LatinUserChosen[7] = 9; // damaged: names another character, so not chosen
    LatinUserChosenCount = CountLatinUserChosen();
    EXPECT_EQ(LatinUserChosenCount, 3);
    EXPECT_EQ(reached([] { return DrawLatinIndex("Limit_User"); }), (std::set<int>{2, 5, 48}));

    LatinUserChosen.fill(0);
    LatinUserChosenCount = 0;
    EXPECT_EQ(reached([] { return DrawLatinIndex("Limit_User"); }, 50), (std::set<int>{1}));

    KanaUserChosen.fill(0);
    KanaUserChosen[10] = 10;
    KanaUserChosenCount = 1;
    EXPECT_EQ(reached([] { return DrawKanaIndex(18, false); }, 50), (std::set<int>{10}));
}

TEST(RandomDraw, KanaRangesReachExactlyTheirCandidates)
{
    std::set<int> kanaMarks = span(1, 50);
    for (int i : span(61, 68))
        kanaMarks.insert(i);
    EXPECT_EQ(reached([] { return DrawKanaIndex(12, false); }), span(61, 67));
    EXPECT_EQ(reached([] { return DrawKanaIndex(16, false); }), span(51, 68));
    EXPECT_EQ(reached([] { return DrawKanaIndex(16, true); }), span(51, 67));
    EXPECT_EQ(reached([] { return DrawKanaIndex(15, true); }), kanaMarks);
    EXPECT_EQ(reached([] { return DrawKanaIndex(10, false); }), span(46, 50));
    EXPECT_EQ(reached([] { return DrawKanaIndex(19, false); }, 20), (std::set<int>{0}));
    EXPECT_EQ(reached([] { return DrawKanaIndex(0, false); }, 20), (std::set<int>{0}));
}
