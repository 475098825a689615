#include "keypad/KeypadRules.h"
#include "settings/SharedSettings.h"
#include "support/keypad_fixture.h"

using namespace forms;

namespace {
struct CaptionChange {
    platform::Tick at;
    QString caption;
    bool operator==(const CaptionChange&) const = default;
};

void PrintTo(const CaptionChange& c, std::ostream* os) { *os << "{" << c.at << ", " << c.caption.toStdString() << "}"; }
} // namespace

class Blinking : public KeypadFixture {
protected:
    // Moves time on until `until` ms after origin and lists the caption changes of b.
    std::vector<CaptionChange> watch(const CommandButton& b, platform::Tick origin, platform::Tick until)
    {
        std::vector<CaptionChange> changes;
        QString last = b.caption();
        while (clock().now() - origin < until) {
            clock().advance(10);
            if (b.caption() != last) {
                last = b.caption();
                changes.push_back({clock().now() - origin, last});
            }
        }
        return changes;
    }

    // The timer as the window creates it: a fresh interval of 1000 ms, shown phase next.
    static void freshTimer(Timer& t, std::int16_t& hidden)
    {
        t.setEnabled(false);
        t.setInterval(1000);
        hidden = 0;
    }
};

TEST_F(Blinking, ChosenLatinKeysHide500AndShow1000UntilARunLeavesOnlyThemOn)
{
    FrmMain& f = shown();
    f.optionKikitoriMode.click();
    LatinUserChosen[2] = 2;
    LatinUserChosen[5] = 5;
    LatinUserChosen[9] = 30; // damaged: neither chosen nor unchosen, left alone
    freshTimer(f.timerUserChoseLetters, f.LatinBlinkHidden);
    const platform::Tick t0 = clock().now();
    f.mnuMojihanniUserChose.click(); // starts the timer
    f.LatinButton(9).setCaption("x");
    const CommandButton& b = f.LatinButton(2);
    const std::vector<CaptionChange> expected = {{2500, ""}, {3000, "B"}, {4000, ""}, {4500, "B"}, {5500, ""}};
    CommandButton& other = f.LatinButton(1);
    EXPECT_EQ(watch(b, t0, 5600), expected);
    EXPECT_EQ(other.caption(), "A");
    EXPECT_EQ(f.LatinButton(5).caption(), QString());
    EXPECT_EQ(f.LatinButton(9).caption(), "x");

    // A character removed while hidden shows again at the next tick.
    LatinUserChosen[5] = 0;
    EXPECT_EQ(watch(f.LatinButton(5), t0 + 5600, 400), (std::vector<CaptionChange> {{400, "E"}}));

    // A run starts (the driver counts the set and holds Start off); the tick that
    // ends the next hidden interval stops the blinking with the captions shown.
    LatinUserChosenCount = 1;
    f.StartButton_Command.setEnabled(false);
    clock().advance(1500);
    EXPECT_FALSE(f.timerUserChoseLetters.enabled());
    EXPECT_EQ(b.caption(), "B");
    EXPECT_EQ(enabledLatinKeys(f), (std::vector<int> {2, 9}));

    // The end of the run gives every key back.
    f.StartButton_Command.setEnabled(true);
    ApplyModeToKeypads();
    EXPECT_EQ(enabledLatinKeys(f), span(1, 48));
}

TEST_F(Blinking, TheLatinTimerStopsWithCaptionsShownInCodeCheck)
{
    FrmMain& f = shown();
    f.optionKikitoriMode.click();
    LatinUserChosen[1] = 1;
    freshTimer(f.timerUserChoseLetters, f.LatinBlinkHidden);
    const platform::Tick t0 = clock().now();
    f.mnuMojihanniUserChose.click();
    clock().advance(2600); // inside a hidden interval
    EXPECT_EQ(f.LatinButton(1).caption(), QString());
    f.optionKakuninMode.click();
    EXPECT_EQ(watch(f.LatinButton(1), t0 + 2600, 2000), (std::vector<CaptionChange> {{400, "A"}}));
    EXPECT_FALSE(f.timerUserChoseLetters.enabled());
}

TEST_F(Blinking, TheLatinTimerLeavesKeysAloneUnderAnotherRange)
{
    FrmMain& f = shown();
    f.optionKikitoriMode.click();
    LatinUserChosen[1] = 1;
    f.mnuMojiHanniAtoE.click();
    f.timerUserChoseLetters.setEnabled(true); // as the mock-exam handlers do, whatever the range
    EXPECT_TRUE(watch(f.LatinButton(1), clock().now(), 4000).empty());
}

TEST_F(Blinking, ChosenKanaKeysBlinkAndAPureTextExamStopsThemAtOnce)
{
    FrmMain& f = shownKana();
    f.optionKikitoriMode.click();
    KanaUserChosen[3] = 3;
    KanaUserChosen[60] = 60;
    freshTimer(f.timerUserChoseJpLetters, f.KanaBlinkHidden);
    const platform::Tick t0 = clock().now();
    f.mnuMojihanniWabun_Hani(18).click();
    const std::vector<CaptionChange> expected = {{2500, ""}, {3000, "ウ"}, {4000, ""}};
    EXPECT_EQ(watch(f.ButtonJp(3), t0, 4100), expected);
    EXPECT_EQ(f.ButtonJp(60).caption(), QString());
    EXPECT_EQ(f.ButtonJp(1).caption(), "ア");

    // The pseudo-text exam stops the timer; should anything start it again, its
    // next tick shows every caption at once and stops, in either phase.
    f.comboMogisikenMode.setListIndex(2);
    f.optionMogisikenMode.click();
    EXPECT_FALSE(f.timerUserChoseJpLetters.enabled());
    EXPECT_EQ(f.ButtonJp(3).caption(), QString());
    f.timerUserChoseJpLetters.setEnabled(true);
    clock().advance(500);
    EXPECT_FALSE(f.timerUserChoseJpLetters.enabled());
    EXPECT_EQ(f.ButtonJp(3).caption(), "ウ");
    EXPECT_EQ(f.ButtonJp(60).caption(), QStringLiteral("〇"));
}

TEST_F(Blinking, AKanaRunLeavesOnlyTheChosenKeysOn)
{
    FrmMain& f = shownKana();
    f.optionKikinagashiMode.click();
    KanaUserChosen[10] = 10;
    KanaUserChosen[11] = 99; // damaged: neither chosen nor unchosen, left alone
    f.mnuMojihanniWabun_Hani(18).click();
    f.ButtonJp(11).setCaption(QStringLiteral("x"));
    KanaUserChosenCount = 1;
    f.StartButton_Command.setEnabled(false);
    clock().advance(3000); // at least one hidden interval ends
    EXPECT_FALSE(f.timerUserChoseJpLetters.enabled());
    EXPECT_EQ(enabledKanaKeys(f), (std::vector<int> {10, 11}));
    EXPECT_EQ(f.ButtonJp(10).caption(), QStringLiteral("コ"));
    EXPECT_EQ(f.ButtonJp(11).caption(), QStringLiteral("x"));

    f.StartButton_Command.setEnabled(true);
    ApplyModeToKeypads();
    EXPECT_EQ(enabledKanaKeys(f), span(1, 68));
    EXPECT_TRUE(f.timerUserChoseJpLetters.enabled());
}
