// Whole practice runs as a learner does them, on virtual time.
#include "dialogs/frmOptions.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmKikitoriResult.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "sounding/makeBeep.h"
#include "support/app_fixture.h"
#include "support/play_log.h"
#include "synthesis/SoundBank.h"
#include "synthesis/frmExchangeProgress.h"

#include <functional>

using namespace forms;

namespace {
// What the results window showed when it opened.
struct Results {
    bool shown = false;
    QString asked, right, list;
    bool picture = false;
};
} // namespace

class Run : public AppFixture {
protected:
    FrmMain& f = shownMain();

    // Only the first range item checked: A..E.
    void rangeAtoE()
    {
        f.mnuMojiHanniAtoE.setChecked(true);
        for (Menu* m : {&f.mnuMojiHanniFtoJ, &f.mnuMojiHanniKtoO, &f.mnuMojiHanniPtoT, &f.mnuMojiHanniUtoZ,
                        &f.mnuMojiHanniAllAlphabets, &f.mnuMojiHanniNumbers, &f.mnuMojiHanniMarks,
                        &f.mnuMojiHanniAlphabetsNumbers, &f.mnuMojiHanniAlphabetsMarks,
                        &f.mnuMojiHanniNumbersMarks, &f.mnuMojiHanniAll, &f.mnuMojihanniUserChose})
            m->setChecked(false);
    }

    // Closes the results window when it opens and keeps what it showed.
    void watchResults()
    {
        every10ms([this] {
            FrmKikitoriResult* r = frmKikitoriResult.ifLoaded();
            if (!r || !r->isShown())
                return true;
            results.shown = true;
            results.asked = r->SyutudaiLabel.caption();
            results.right = r->SeikaiLabel.caption();
            results.list = r->HuseikaiListLabel.caption();
            results.picture = !r->icon().isNull();
            r->CloseButton.click();
            return false;
        });
    }

    // The plays of bank images (not beeps), relative to origin.
    std::vector<Sounded> imagePlays(platform::Tick origin)
    {
        std::vector<Sounded> out;
        for (const Sounded& s : soundedSince(origin))
            if (s.what != "beep")
                out.push_back(s);
        return out;
    }

    Results results;
};

TEST_F(Run, StartSignalTimelineOnBothRoadsAndAlphabets)
{
    rangeAtoE();
    f.optionKikinagashiMode.click();
    // Stop as soon as the first character has been drawn.
    auto stopAtFirstCharacter = [this] {
        every10ms([this] {
            if (AskedCount < 1 && imagePlays(0).size() < 4)
                return true;
            f.StopButton_Command.click();
            return false;
        });
    };
    platform::sound().clearLog();
    platform::Tick t0 = clock().now();
    stopAtFirstCharacter();
    f.StartButton_Command.click();
    auto p = imagePlays(t0);
    ASSERT_GE(p.size(), 4u);
    // u = 133: H 3u + 7u, R 3u + 7u + 4u, BT 3u + 13u + 4u.
    EXPECT_EQ(p[0], (Sounded{0, "H", p[0].ms}));
    EXPECT_EQ(p[1].at, 1330);
    EXPECT_EQ(p[1].what, "R");
    EXPECT_EQ(p[2].at, 1330 + 1862);
    EXPECT_EQ(p[2].what, "BT");
    EXPECT_EQ(p[3].at, 1330 + 1862 + 2660);

    // Beep road: the same rhythm from the Beep routines.
    f.mnuSoundBeep.click();
    platform::sound().clearLog();
    AskedCount = 0; // the last run's count stays until the next loop starts
    t0 = clock().now();
    every10ms([this] {
        if (AskedCount < 1)
            return true;
        f.StopButton_Command.click();
        return false;
    });
    f.StartButton_Command.click();
    auto b = soundedSince(t0);
    ASSERT_GE(b.size(), 12u);
    EXPECT_EQ(b[0], (Sounded{0, "beep", 133}));
    EXPECT_EQ(b[4].at, 1330); // R after H's four dots and the gaps
    EXPECT_EQ(b[7].at, 1330 + 1862); // BT's first dash
    EXPECT_EQ(b[12].at, 1330 + 1862 + 2660); // the first character

    // Kana: ホレ instead of BT.
    f.mnuSoundWave.click();
    f.mnuChange.click();
    f.optionKikinagashiMode.click();
    platform::sound().clearLog();
    AskedCount = 0;
    t0 = clock().now();
    stopAtFirstCharacter();
    f.StartButton_Command.click();
    p = imagePlays(t0);
    ASSERT_GE(p.size(), 4u);
    EXPECT_EQ(p[2].what, QString::fromUtf16(u"ホレ"));
    EXPECT_EQ(p[3].at, 1330 + 1862 + (3 + 19 + 4) * 133);
}

TEST_F(Run, PassAndTimeOutThenStopShowTheResults)
{
    rangeAtoE();
    AnswerTimeLimitSec = 3;
    f.textLimitKikitoriMode.setText("3");
    f.optionKikitoriMode.click();
    QStringList countdown; // what the limit box showed during question 2
    QStringList sent;
    int phase = 0;
    every10ms([&] {
        if (phase == 0 && f.timerLimitKikitoriMode.enabled() && AskedCount == 1) {
            sent << SentChar;
            f.KaitoupassButton_Command.click(); // question 1: pass
            EXPECT_EQ(f.Label1.caption(), SentChar);
            phase = 1;
        } else if (phase == 1 && AskedCount == 2 && f.timerLimitKikitoriMode.enabled()) {
            if (countdown.isEmpty() || countdown.back() != f.textLimitKikitoriMode.text())
                countdown << f.textLimitKikitoriMode.text();
        } else if (phase == 1 && AskedCount == 3) {
            sent << QString(); // question 2 timed out
            phase = 2;
            watchResults();
            f.StopButton_Command.click(); // during question 3's sounding or wait
            return false;
        }
        return true;
    });
    f.StartButton_Command.click();
    EXPECT_EQ(countdown, (QStringList{"3", "2", "1", "0"}));
    ASSERT_TRUE(results.shown);
    EXPECT_EQ(results.asked, "2");
    EXPECT_EQ(results.right, "0");
    EXPECT_TRUE(results.picture); // Bad.gaz
    int misses = 0;
    for (int i = 1; i <= 5; ++i)
        misses += LatinMissCount[i];
    EXPECT_EQ(misses, 2);
    EXPECT_TRUE(results.list.contains(QStringLiteral("回　")));
    EXPECT_EQ(f.Label4.caption(), "2");
    EXPECT_FALSE(f.timerLimitKikitoriMode.enabled());
    EXPECT_EQ(f.textLimitKikitoriMode.text(), "3");
    EXPECT_TRUE(f.StartButton_Command.enabled());
    EXPECT_EQ(StopRequested, -1);
}

TEST_F(Run, AnAnswerWhileTheCharacterSoundsCountsForIt)
{
    rangeAtoE();
    AnswerTimeLimitSec = 5;
    f.optionKikitoriMode.click();
    platform::sound().clearLog();
    QString passedFor;
    every10ms([&] {
        // The first character has started: pass at once, while it still sounds.
        auto p = imagePlays(0);
        if (p.size() < 4)
            return true;
        passedFor = SentChar;
        f.KaitoupassButton_Command.click();
        EXPECT_EQ(AnswerChar, "ESC");
        f.KaitoupassButton_Command.click(); // a second answer to the same question is ignored
        return false;
    });
    every10ms([&] {
        if (AskedCount < 2)
            return true;
        EXPECT_FALSE(passedFor.isEmpty());
        watchResults();
        f.StopButton_Command.click();
        return false;
    });
    f.StartButton_Command.click();
    EXPECT_EQ(passedFor, imagePlays(0)[3].what);
    EXPECT_EQ(LatinMissCount[GetLatinIndex(passedFor)], 1);
    int misses = 0;
    for (int i = 1; i <= 48; ++i)
        misses += LatinMissCount[i];
    EXPECT_EQ(misses, 1);
    ASSERT_TRUE(results.shown);
    EXPECT_EQ(results.asked, "1");
}

TEST_F(Run, AnAnswerWhileTheCharacterSoundsThenStopCountsTheQuestion)
{
    // Question 1 answered right; question 2 answered while it still sounds, then Stop
    // before its sounding ends.
    enum Second { Right, Wrong, Pass };
    const struct {
        Second second;
        const char* right;
        int misses;
    } cases[] = {{Right, "2", 0}, {Wrong, "1", 1}, {Pass, "1", 1}};
    rangeAtoE();
    AnswerTimeLimitSec = 5;
    f.optionKikitoriMode.click();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.right);
        AskedCount = 0;
        results = {};
        int phase = 0;
        every10ms([&] {
            if (phase == 0 && AskedCount == 1 && f.timerLimitKikitoriMode.enabled()) {
                f.LatinButton(GetLatinIndex(SentChar)).click();
                phase = 1;
            } else if (phase == 1 && AskedCount == 1 && QuestionOpen == -1) {
                const int sent = GetLatinIndex(SentChar);
                if (c.second == Right)
                    f.LatinButton(sent).click();
                else if (c.second == Wrong)
                    f.LatinButton(sent == 1 ? 2 : 1).click();
                else
                    f.KaitoupassButton_Command.click();
                EXPECT_TRUE(platform::sound().isPlaying());
                watchResults();
                f.StopButton_Command.click();
                return false;
            }
            return true;
        });
        f.StartButton_Command.click();
        ASSERT_TRUE(results.shown);
        EXPECT_EQ(results.asked, "2");
        EXPECT_EQ(results.right, c.right);
        EXPECT_TRUE(results.picture);
        EXPECT_EQ(f.Label4.caption(), "2");
        int misses = 0;
        for (int i = 1; i <= 5; ++i)
            misses += LatinMissCount[i];
        EXPECT_EQ(misses, c.misses);
        EXPECT_FALSE(f.timerLimitKikitoriMode.enabled());
    }
}

// A right answer blinks the label for 80 ms before the circle shows; a Stop in
// that blink shows the answer in the results already.
TEST_F(Run, StopWhileARightAnswerBlinksCountsIt)
{
    rangeAtoE();
    AnswerTimeLimitSec = 5;
    f.optionKikitoriMode.click();
    bool answered = false;
    every10ms([&] {
        if (AskedCount < 1 || !f.timerLimitKikitoriMode.enabled())
            return true;
        watchResults();
        clock().callAfter(40, [&] { f.StopButton_Command.click(); });
        f.LatinButton(GetLatinIndex(SentChar)).click();
        answered = true;
        return false;
    });
    f.StartButton_Command.click();
    ASSERT_TRUE(answered);
    ASSERT_TRUE(results.shown);
    EXPECT_EQ(results.asked, "1");
    EXPECT_EQ(results.right, "1");
    EXPECT_EQ(f.Label2.caption(), "1");
}

TEST_F(Run, StopWhileTheFirstCharacterSoundsAsksNothing)
{
    rangeAtoE();
    AnswerTimeLimitSec = 2;
    f.optionKikitoriMode.click();
    platform::sound().clearLog();
    every10ms([&] {
        if (imagePlays(0).size() < 4)
            return true;
        f.StopButton_Command.click();
        return false;
    });
    f.StartButton_Command.click();
    EXPECT_EQ(f.Label4.caption(), "0");
    EXPECT_FALSE(frmKikitoriResult.isLoaded());
    EXPECT_FALSE(f.timerLimitKikitoriMode.enabled()); // the stopped run armed no countdown
    EXPECT_EQ(f.textLimitKikitoriMode.text(), "2");
    int misses = 0;
    for (int i = 1; i <= 48; ++i)
        misses += LatinMissCount[i];
    EXPECT_EQ(misses, 0);
}

TEST_F(Run, StartStaysOffUntilAStoppedRunHasUnwound)
{
    rangeAtoE();
    f.textCwSpeed.setText("20"); // long characters: the unwinding takes seconds
    f.optionKikinagashiMode.click();
    bool offAfterStop = false, offWhileUnwinding = false;
    platform::Tick stoppedAt = 0;
    every10ms([&] {
        if (AskedCount < 1)
            return true;
        // During the second round's character.
        f.StopButton_Command.click();
        stoppedAt = clock().now();
        offAfterStop = !f.StartButton_Command.enabled();
        clock().callAfter(200, [&] { offWhileUnwinding = !f.StartButton_Command.enabled(); });
        return false;
    });
    f.StartButton_Command.click();
    EXPECT_TRUE(offAfterStop);
    EXPECT_TRUE(offWhileUnwinding);
    EXPECT_GT(clock().now() - stoppedAt, 200);
    // The run has returned: Start is back, and a press starts a run.
    EXPECT_TRUE(f.StartButton_Command.enabled());
    EXPECT_TRUE(f.mnuMojihanni.enabled());
    AskedCount = 0;
    every10ms([&] {
        if (AskedCount < 1)
            return true;
        f.StopButton_Command.click();
        return false;
    });
    f.StartButton_Command.click();
    EXPECT_GE(AskedCount, 1);
}

// The selected mode option stays enabled during a run, and the forms raise Click
// on it again: the run keeps everything it locked.
TEST_F(Run, ClickingTheSelectedModeDuringARunKeepsItsLocks)
{
    rangeAtoE();
    for (OptionButton* mode : {&f.optionKikitoriMode, &f.optionKikinagashiMode}) {
        SCOPED_TRACE(mode->caption().toStdString());
        mode->click();
        AskedCount = 0;
        bool startOff = false, alphabetOff = false, rangeOff = false, otherModesOff = false;
        every10ms([&] {
            if (AskedCount < 1)
                return true;
            mode->click();
            startOff = !f.StartButton_Command.enabled();
            alphabetOff = !f.mnuChange.enabled();
            rangeOff = !f.mnuMojihanni.enabled();
            otherModesOff = !f.optionKakuninMode.enabled() && !f.optionMogisikenMode.enabled();
            f.StopButton_Command.click();
            return false;
        });
        if (mode == &f.optionKikitoriMode)
            watchResults();
        f.StartButton_Command.click();
        EXPECT_TRUE(startOff);
        EXPECT_TRUE(alphabetOff);
        EXPECT_TRUE(rangeOff);
        EXPECT_TRUE(otherModesOff);
    }
}

TEST_F(Run, ListenThroughShowsEachCharacterAfterItSounds)
{
    rangeAtoE();
    f.optionKikinagashiMode.click();
    for (bool beep : {false, true}) {
        if (beep)
            f.mnuSoundBeep.click();
        AskedCount = 0;
        QStringList shown;
        every10ms([&] {
            if (AskedCount >= 1 && (shown.isEmpty() || shown.size() < AskedCount))
                shown << f.Label1.caption();
            if (AskedCount < 4)
                return true;
            f.StopButton_Command.click();
            return false;
        });
        f.StartButton_Command.click();
        EXPECT_GE(shown.size(), 3);
        for (const QString& s : shown)
            EXPECT_TRUE(QStringList({"A", "B", "C", "D", "E"}).contains(s)) << s.toStdString();
        EXPECT_EQ(f.Label2.caption(), " - ");
        EXPECT_FALSE(frmKikitoriResult.isLoaded());
        EXPECT_TRUE(f.mnuMojihanni.enabled());
        if (beep) {
            EXPECT_EQ(LastBeepSymbol, SentChar);
        }
    }
}

TEST_F(Run, KanaRunOnTheBeepRoad)
{
    f.mnuSoundBeep.click();
    f.mnuChange.click();
    f.mnuMojihanniWabun_Hani(1).setChecked(true);
    AnswerTimeLimitSec = 0;
    f.optionKikitoriMode.click();
    every10ms([&] {
        if (AskedCount < 1 || QuestionOpen != -1 || !f.timerLimitKikitoriMode.enabled())
            return true;
        if (AskedCount == 3) {
            watchResults();
            f.StopButton_Command.click();
            return false;
        }
        f.KaitoupassButton_Command.click();
        return true;
    });
    f.StartButton_Command.click();
    ASSERT_TRUE(results.shown);
    EXPECT_EQ(results.asked, "2");
    int misses = 0;
    for (int i = 1; i <= 5; ++i)
        misses += KanaMissCount[i];
    EXPECT_EQ(misses, 2);
    EXPECT_TRUE(results.list.contains(QLatin1Char(':')));
}

// Start pressed twice while the alphabet switch rebuilds the bank, inside its
// writers' waits: nothing sounds from the half-built bank, one run starts once the
// rebuild has ended, its first question is heard and counted once, and the second
// press starts no run of its own after it.
TEST_F(Run, StartDuringTheSwitchRebuildRunsOnceTheBankIsBuilt)
{
    // Kana, single-character receive, stored by the switch to Latin.
    f.mnuChange.click();
    f.mnuMojihanniWabun_Hani(1).click();
    f.optionKikitoriMode.click();
    f.mnuChange.click();

    bool building = false;
    std::size_t soundedInPress = 0;
    bool answered = false, progressShownAtResults = true;
    const platform::Tick pressAt = clock().now() + 700;
    for (const platform::Tick at : {pressAt, pressAt + 300})
        clock().callAt(at, [&, at] {
            building = (at == pressAt || building) && SoundBankBuilding();
            const std::size_t before = platform::sound().log().size();
            f.StartButton_Command.click();
            soundedInPress += platform::sound().log().size() - before;
        });
    every10ms([&] {
        if (!answered) {
            if (QuestionOpen != -1)
                return true;
            f.ButtonJp(GetKanaIndex(SentChar)).click();
            answered = true;
            return true;
        }
        const FrmExchangeProgress* p = frmExchangeProgress.ifLoaded();
        progressShownAtResults = p && p->isShown();
        watchResults();
        f.StopButton_Command.click();
        return false;
    });
    // A run that begins after the results is stopped at once.
    bool secondRun = false;
    every10ms([&] {
        if (!results.shown || StopRequested != 0)
            return true;
        secondRun = true;
        f.StopButton_Command.click();
        return false;
    });
    f.mnuChange.click(); // back to kana: the presses come inside this rebuild
    const platform::Tick builtAt = clock().now();
    ASSERT_TRUE(building);
    ASSERT_TRUE(f.optionKikitoriMode.value());
    for (int i = 0; i < 3000 && !results.shown; ++i)
        clock().advance(10);
    clock().advance(10000);

    EXPECT_FALSE(secondRun);
    EXPECT_EQ(soundedInPress, 0u);
    const auto plays = imagePlays(pressAt);
    ASSERT_EQ(plays.size(), 4u);
    EXPECT_GE(plays[0].at, builtAt - pressAt);
    EXPECT_EQ(plays[0].what, "H");
    EXPECT_EQ(plays[1].what, "R");
    EXPECT_EQ(plays[2].what, QString::fromUtf16(u"ホレ"));
    EXPECT_EQ(plays[3].what, SentChar);
    EXPECT_TRUE(answered);
    EXPECT_TRUE(results.shown);
    EXPECT_EQ(results.asked, "1");
    EXPECT_EQ(results.right, "1");
    EXPECT_FALSE(progressShownAtResults);
}

// Start pressed while a code-check press rebuilds the bank (receive chosen inside
// that rebuild): the press sounds whole first, and the run begins as its last
// repetition's wait ends, not inside it.
TEST_F(Run, StartDuringACodeCheckRebuildRunsOnceThePressHasSounded)
{
    f.mnuChange.click(); // kana
    f.mnuMojihanniWabun_Hani(1).click();
    frmOptions().textHugouKakuninPlayTimes.setText("2");
    f.optionKakuninMode.click();
    f.textCwSpeed.setText(f.textCwSpeed.text() == QLatin1String("60") ? "25" : "60");
    bool building = false;
    clock().callAfter(300, [&] {
        building = SoundBankBuilding();
        f.optionKikitoriMode.click();
        f.StartButton_Command.click();
    });
    every10ms([&] {
        if (imagePlays(0).size() < 3)
            return true;
        watchResults();
        f.StopButton_Command.click();
        return false;
    });
    platform::sound().clearLog();
    f.ButtonJp(1).click(); // ア
    clock().advance(20000);

    ASSERT_TRUE(building);
    const auto plays = imagePlays(0);
    ASSERT_GE(plays.size(), 3u);
    EXPECT_EQ(plays[0].what, QString::fromUtf16(u"ア"));
    EXPECT_EQ(plays[1].what, QString::fromUtf16(u"ア"));
    EXPECT_EQ(plays[2].what, "H");
    EXPECT_EQ(plays[2].at - plays[1].at, plays[1].at - plays[0].at);
    EXPECT_EQ(StopRequested, -1); // and was stopped there
}

TEST_F(Run, StartIsRefusedWithoutUserChosenCharacters)
{
    f.mnuMojihanniUserChose.setChecked(true);
    f.optionKikitoriMode.click();
    platform::sound().clearLog();
    f.StartButton_Command.click();
    ASSERT_EQ(dialogs::messages().size(), 1u);
    EXPECT_EQ(dialogs::messages()[0].prompt, QStringLiteral("指定された文字がありません。"));
    EXPECT_EQ(dialogs::messages()[0].title, QStringLiteral("エラー"));
    EXPECT_TRUE(f.StartButton_Command.enabled());
    EXPECT_TRUE(f.mnuChange.enabled());
    EXPECT_TRUE(imagePlays(0).empty());
}

TEST_F(Run, LatinRunAnsweredRightWrongPassedAndTimedOut)
{
    rangeAtoE();
    AnswerTimeLimitSec = 3;
    f.optionKikitoriMode.click();
    enum { Right, Wrong, Pass, TimeOut, Stop } plan[] = {Right, Wrong, Pass, TimeOut, Stop};
    int step = 0;
    QStringList labels;
    every10ms([&] {
        if (AskedCount != step + 1 || !f.timerLimitKikitoriMode.enabled())
            return true;
        const int sent = GetLatinIndex(SentChar);
        switch (plan[step]) {
        case Right:
            f.LatinButton(sent).click();
            labels << f.Label1.caption(); // the click returns after the 80 ms blank
            break;
        case Wrong:
            f.LatinButton(sent == 1 ? 2 : 1).click();
            labels << f.Label1.caption();
            break;
        case Pass:
            f.KaitoupassButton_Command.click();
            labels << f.Label1.caption();
            break;
        case TimeOut:
            return true; // the countdown answers after 3 + 1 ticks
        case Stop:
            watchResults();
            f.StopButton_Command.click();
            return false;
        }
        ++step;
        return true;
    });
    // The time-out question moves the plan on when the next question is counted.
    every10ms([&] {
        if (step == 3 && AskedCount == 5)
            step = 4;
        return step < 4;
    });
    f.StartButton_Command.click();
    ASSERT_TRUE(results.shown);
    EXPECT_EQ(results.asked, "4");
    EXPECT_EQ(results.right, "1");
    EXPECT_EQ(CorrectCount, 1);
    EXPECT_TRUE(results.picture);
    int misses = 0;
    for (int i = 1; i <= 5; ++i)
        misses += LatinMissCount[i];
    EXPECT_EQ(misses, 3);
    ASSERT_EQ(labels.size(), 3);
    EXPECT_EQ(labels[0], QString::fromUtf16(u"○"));
    EXPECT_FALSE(labels[1].isEmpty());
    EXPECT_FALSE(labels[2].isEmpty());
    EXPECT_EQ(f.Label2.caption(), "1");
}
