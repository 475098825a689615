// The kana exam's own table and its two pickers.
#include "keypad/UserChosen.h"
#include "material/KanaExamPickers.h"
#include "platform/process.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"
#include "support/morse_heard.h"

#include <set>

namespace {
std::set<int> span(int from, int to)
{
    std::set<int> s;
    for (int i = from; i <= to; ++i)
        s.insert(i);
    return s;
}

std::set<int> operator+(std::set<int> a, const std::set<int>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

// Every entry a draw reaches over many calls, the clock moving on between them.
std::set<int> reached(int range, bool beepRoad, int calls = 3000)
{
    platform::ScopedVirtualClock vc;
    platform::resetRandom(7);
    std::set<int> seen;
    for (int i = 0; i < calls; ++i) {
        vc->block(7);
        seen.insert(DrawKanaExamEntry(range, beepRoad));
    }
    return seen;
}

class KanaExam : public ::testing::Test {
protected:
    void SetUp() override
    {
        KanaExcludeDakuten = 0;
        KanaUserChosen.fill(0);
    }
    void TearDown() override
    {
        KanaExcludeDakuten = 0;
        KanaUserChosen.fill(0);
    }
};
} // namespace

TEST_F(KanaExam, TableOf93EntriesInsertsTheVoicedRowsAfterTheirPlainRows)
{
    const QString expected
        = QString::fromUtf16(u"アイウエオカキクケコガギグゲゴサシスセソザジズゼゾタチツテトダヂヅデド"
                             u"ナニヌネノハヒフヘホバビブベボパピプペポマミムメモヤヰユヱヨラリルレロワヲン");
    QString beepTexts;
    for (int e = 1; e <= 73; ++e)
        beepTexts += KanaExamEntryText(e, true);
    EXPECT_EQ(beepTexts, expected);
    QStringList rest;
    for (int e = 74; e <= 93; ++e)
        rest << KanaExamEntryText(e, true);
    EXPECT_EQ(rest.join('|'), QString::fromUtf16(u"濁点|ﾟ|一|二|三|四|五|六|七|八|九|〇|ー|、|」|(|)|？|ホレ|ラタ"));
    // The text for the compiler: the signs in corner brackets, the marks alone.
    EXPECT_EQ(KanaExamEntryText(74, false), QString::fromUtf16(u"ﾞ"));
    EXPECT_EQ(KanaExamEntryText(75, false), QString::fromUtf16(u"ﾟ"));
    EXPECT_EQ(KanaExamEntryText(92, false), QString::fromUtf16(u"「ホレ」"));
    EXPECT_EQ(KanaExamEntryText(93, false), QString::fromUtf16(u"「ラタ」"));
    EXPECT_EQ(KanaExamEntryText(0, true), QString());
    EXPECT_EQ(KanaExamEntryText(94, false), QString());

    // Sounded as: plain kana (KanaCharTable index) and mark.
    const struct {
        int entry, kana, mark;
    } sounds[] = {{1, 1, 0}, {11, 6, 49}, {25, 15, 49}, {35, 20, 49}, {46, 26, 49}, {51, 26, 50}, {55, 30, 50},
        {56, 31, 0}, {74, 49, 0}, {75, 50, 0}, {93, 68, 0}};
    for (const auto& s : sounds) {
        EXPECT_EQ(KanaExamEntryKana(s.entry), s.kana) << s.entry;
        EXPECT_EQ(KanaExamEntryMark(s.entry), s.mark) << s.entry;
    }
}

TEST_F(KanaExam, RangesDrawTheirSpansOnBothRoads)
{
    const struct {
        int range;
        bool excludeVoiced;
        std::set<int> silent, beep;
    } cases[] = {
        {1, false, span(1, 5), span(1, 5)},
        {2, true, span(6, 10), span(6, 10)},
        {2, false, span(6, 15), span(6, 15)},
        {3, false, span(16, 25), span(16, 25)},
        {4, true, span(26, 30), span(26, 30)},
        {6, true, span(41, 45), span(41, 45)},
        {6, false, span(41, 55), span(41, 55)},
        {10, false, span(71, 75), span(71, 75)},
        {12, false, span(86, 93), span(86, 93)},
        {13, true, span(1, 73), span(1, 73)}, // the voiced kana whatever the flag
        {14, false, span(1, 85), span(1, 85)},
        // The 83-entry table: the kana and marks, then ー .. ？ and the signs.
        {15, false, span(1, 75) + span(86, 92), span(1, 75) + span(86, 93)},
        {16, false, span(76, 92), span(76, 93)}, // only the Beep road can draw ラタ
        {17, false, span(1, 92), span(1, 92)},
        {0, false, {0}, {0}},
        {19, false, {0}, {0}},
    };
    for (const auto& c : cases) {
        KanaExcludeDakuten = c.excludeVoiced ? -1 : 0;
        EXPECT_EQ(reached(c.range, false), c.silent) << c.range;
        EXPECT_EQ(reached(c.range, true), c.beep) << c.range;
    }
}

TEST_F(KanaExam, TheUserSetAddsVoicedFormsForTheMarks)
{
    auto choose = [](std::initializer_list<int> kana) {
        KanaUserChosen.fill(0);
        for (int i : kana)
            KanaUserChosen[i] = static_cast<std::int16_t>(i);
    };
    choose({26, 50}); // ハ and ﾟ
    EXPECT_EQ(reached(18, true, 300), (std::set<int> {41, 51, 75}));
    choose({6, 49}); // カ and 濁点
    EXPECT_EQ(reached(18, false, 300), (std::set<int> {6, 11, 74}));
    choose({6});
    EXPECT_EQ(reached(18, true, 100), (std::set<int> {6}));
    choose({26, 27, 49}); // ハ ヒ with 濁点: バ ビ but never パ ピ
    EXPECT_EQ(reached(18, true, 500), (std::set<int> {41, 42, 46, 47, 74}));
    choose({});
    EXPECT_EQ(reached(18, true, 50), (std::set<int> {1}));
}

class KanaExamBeep : public AppFixture { };

TEST_F(KanaExamBeep, SoundsVoicedKanaAsPlainKanaAndMark)
{
    KanaUserChosen.fill(0);
    KanaUserChosen[6] = 6;
    KanaUserChosen[49] = 49;
    // Draw until ガ comes up (the set is カ, ガ, 濁点).
    QString got;
    for (int i = 0; i < 50 && got != QString::fromUtf16(u"ガ"); ++i) {
        clock().block(3);
        platform::sound().clearLog();
        got = PlayRandomExamKanaBeep(18, 10, 700);
    }
    ASSERT_EQ(got, QString::fromUtf16(u"ガ"));
    EXPECT_EQ(heardMorse(0, 10), ".-.. ..");
    for (const auto& e : platform::sound().log())
        EXPECT_EQ(e.hz, 700);
    KanaUserChosen.fill(0);
    EXPECT_EQ(PickRandomExamKana(0), QString());
    platform::sound().clearLog();
    EXPECT_EQ(PlayRandomExamKanaBeep(0, 10, 700), QString());
    EXPECT_TRUE(platform::sound().log().empty());
}
