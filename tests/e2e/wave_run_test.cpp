// Listen-through runs on the Wave road: the rhythm of whole runs, and the sound
// bank that Start rebuilds when the speed or tone box changed.
#include "dialogs/frmOptions.h"
#include "keypad/UserChosen.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"
#include "support/play_log.h"
#include "support/character_image.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/SoundBank.h"
#include "synthesis/ToneOptions.h"
#include "synthesis/frmExchangeProgress.h"

#include <cmath>

using namespace forms;

namespace {
// The Morse length in units of a sounded kana.
int unitsOf(const QString& kana) { return MorseRowAt(MorseRowOfKana(GetKanaIndex(kana))).n; }
} // namespace

class WaveRun : public AppFixture {
protected:
    FrmMain& f = shownMain();

    // A listen-through run from Start until n characters have been counted; the
    // bank images it played, relative to the press.
    std::vector<Sounded> listenThrough(int n)
    {
        f.optionKikinagashiMode.click();
        platform::sound().clearLog();
        AskedCount = 0; // the last run's count stands until the start signal
        const platform::Tick t0 = clock().now();
        every10ms([this, n] {
            if (AskedCount < n || f.StartButton_Command.enabled())
                return true;
            f.StopButton_Command.click();
            return false;
        });
        f.StartButton_Command.click();
        std::vector<Sounded> out;
        for (const Sounded& s : soundedSince(t0))
            if (s.what != "beep")
                out.push_back(s);
        return out;
    }

    // The kana user-chosen set holding only ア, chosen as a learner does.
    void onlyA()
    {
        f.mnuChange.click();
        f.optionKikinagashiMode.click();
        f.mnuMojihanniWabun_Hani(18).click();
        KanaUserChosen.fill(0);
        f.ButtonJp(1).click();
        ASSERT_EQ(KanaUserChosen[1], 1);
    }
};

TEST_F(WaveRun, EachCharacterStartsAfterTheOneBeforeAndThreeStretchedUnits)
{
    onlyA();
    f.optionSpeed80.click(); // unit 75
    frmOptions().hScrollCodeInterval.setValue(50); // 3 units become 4.5
    ASSERT_EQ(CodeIntervalFactor, 1.5f);
    const auto plays = listenThrough(6);
    // H, R, ホレ, then the characters.
    ASSERT_GE(plays.size(), 8u);
    ASSERT_EQ(plays[2].what, QString::fromUtf16(u"ホレ"));
    for (std::size_t i = 3; i < plays.size(); ++i)
        EXPECT_EQ(plays[i].what, QString::fromUtf16(u"ア"));
    // ア is 17 units: 1275 + 337.5 ms, the half to even.
    for (std::size_t i = 4; i < plays.size(); ++i)
        EXPECT_EQ(plays[i].at - plays[i - 1].at, 1612) << i;

    // A mixed range: every start follows the one before by its length and the gap.
    f.mnuMojihanniWabun_Hani(1).click();
    frmOptions().hScrollCodeInterval.setValue(-20); // 3 units become 2.4
    const auto mixed = listenThrough(12);
    ASSERT_GE(mixed.size(), 14u);
    for (std::size_t i = 3; i + 1 < mixed.size(); ++i) {
        ASSERT_EQ(UnitMs, 75);
        const double wait = static_cast<float>(3 * 75) * static_cast<double>(CodeIntervalFactor)
            + unitsOf(mixed[i].what) * 75;
        EXPECT_EQ(mixed[i + 1].at - mixed[i].at, std::nearbyint(wait)) << mixed[i].what.toStdString();
    }
}

TEST_F(WaveRun, StartRebuildsTheBankWhenSpeedOrToneTextChanged)
{
    f.mnuMojiHanniAtoE.click();
    const int hRow = MorseRowOfLatin(8);
    // A bank built for 45 characters per minute at 800 Hz.
    listenThrough(1);
    const struct {
        const char* speed;
        const char* tone;
        bool rebuilds;
        int unit;
        int hz;
    } cases[] = {
        {"45", "800", false, 133, 800},
        {"60", "800", true, 100, 800},
        {"60", "800", false, 100, 800},
        {"60", "600", true, 100, 600},
        {"060", "600", true, 100, 600}, // another text for the same speed
        {"060", "600", false, 100, 600},
        {"60", "600", true, 100, 600},
        {"25", "0600", true, 240, 600}, // another text for the same tone: every Start
        {"25", "0600", true, 240, 600},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.speed) + " / " + c.tone;
        f.textCwSpeed.click();
        f.textCwSpeed.type(QStringLiteral("\b\b\b") + QString::fromLatin1(c.speed));
        f.textToneFreq.click();
        f.textToneFreq.type(QStringLiteral("\b\b\b\b") + QString::fromLatin1(c.tone));
        f.optionKikinagashiMode.click(); // the box loses the focus and keeps its text
        ASSERT_EQ(f.textCwSpeed.text(), c.speed);
        ASSERT_EQ(f.textToneFreq.text(), c.tone);
        const auto plays = listenThrough(1);
        ASSERT_GE(plays.size(), 1u) << what;
        // A rebuild's writers wait before the start signal begins.
        EXPECT_EQ(plays[0].at > 0, c.rebuilds) << what;
        EXPECT_EQ(plays[0].what, "H");
        EXPECT_EQ(LatinCharWave[8], characterImage(hRow, static_cast<std::int16_t>(c.unit),
                                                       static_cast<std::int16_t>(c.hz), WaveSampleRate))
            << what;
    }
}

// The rebuild waits for its writers: the run has locked the panel before, so that
// neither another mode nor the alphabet switch can be chosen under it, and Stop
// ends it.
TEST_F(WaveRun, TheRunLocksThePanelBeforeStartRebuildsTheBank)
{
    f.mnuMojiHanniAtoE.click();
    f.optionKikitoriMode.click();
    f.textCwSpeed.click();
    f.textCwSpeed.type(QStringLiteral("\b\b\b60")); // the bank holds 45
    bool seen = false, modesOff = false, alphabetOff = false, stopOn = false;
    every10ms([&] {
        const FrmExchangeProgress* p = frmExchangeProgress.ifLoaded();
        if (!p || !p->isShown())
            return true;
        seen = true;
        modesOff = !f.optionKakuninMode.enabled() && !f.optionKikinagashiMode.enabled()
            && !f.optionMogisikenMode.enabled();
        alphabetOff = !f.mnuChange.enabled();
        stopOn = f.StopButton_Command.enabled();
        f.StopButton_Command.click();
        // Should the run go on all the same, a second Stop ends it.
        every10ms([&] {
            if (soundedSince(0).empty())
                return true;
            f.StopButton_Command.click();
            return false;
        });
        return false;
    });
    platform::sound().clearLog();
    f.StartButton_Command.click();
    ASSERT_TRUE(seen);
    EXPECT_TRUE(modesOff);
    EXPECT_TRUE(alphabetOff);
    EXPECT_TRUE(stopOn);
    // Stopped during the rebuild: no start signal, no question, every control back.
    EXPECT_TRUE(soundedSince(0).empty());
    EXPECT_TRUE(f.optionKikitoriMode.value());
    EXPECT_TRUE(f.StartButton_Command.enabled());
    EXPECT_TRUE(f.mnuChange.enabled());
    EXPECT_TRUE(f.optionKakuninMode.enabled());
}
