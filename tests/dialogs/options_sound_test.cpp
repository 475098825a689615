#include "dialogs/OptionsRecords.h"
#include "dialogs/frmOptions.h"
#include "dialog_fixture.h"
#include "practice/frmMain.h"
#include "support/play_log.h"
#include "synthesis/SoundBank.h"

using namespace forms;

class SoundOptions : public DialogFixture {
protected:
    // The main window after start-up (its sound bank built) and the options dialog
    // shown over it.
    FrmOptions& shown(const char* speed)
    {
        frmMain().textCwSpeed.setText(speed);
        FrmOptions& f = frmOptions();
        f.show();
        return f;
    }
};

TEST_F(SoundOptions, SlidersShowTheirStepAndTheCodeIntervalSetsItsFactor)
{
    FrmOptions& f = frmOptions();
    f.show();
    f.WavVolumeHScroll.userScrollTo(3);
    EXPECT_EQ(f.VolumeLabel.caption(), QStringLiteral("[音量6]"));
    f.WavQuarityHScroll.userScrollTo(4);
    EXPECT_EQ(f.QuarityLabel.caption(), QStringLiteral("[音質4]"));
    const struct {
        int percent;
        const char16_t* caption;
        float factor;
    } cases[] = {
        {50, u"遅延時間 +50%", 1.5f},
        {0, u"遅延時間 ±0%", 1.0f},
        {-100, u"遅延時間 -100%", 0.0f},
        {10, u"遅延時間 +10%", static_cast<float>(1 + 10 * 0.01)},
    };
    for (const auto& c : cases) {
        f.hScrollCodeInterval.userScrollTo(c.percent);
        EXPECT_EQ(f.labelCodeInterval.caption(), QString::fromUtf16(c.caption));
        EXPECT_EQ(CodeIntervalFactor, c.factor);
    }
}

// The test word from the sound bank: each character starts after the previous one's
// length plus three units stretched by the code interval.
TEST_F(SoundOptions, TestPlaysTheWordWithLivePracticeGaps)
{
    const struct {
        const char* name;
        std::int16_t alphabet;
        const char* speed;
        int percent;
        std::vector<std::pair<platform::Tick, QString>> expected;
    } cases[] = {
        {"45 per minute", -1, "45", 0, {{0, "T"}, {798, "E"}, {1330, "S"}, {2394, "T"}}},
        {"998 and 732: halves to even", -1, "45", 50, {{0, "T"}, {998, "E"}, {1730, "S"}, {2994, "T"}}},
        {"no gap at -100", -1, "45", -100, {{0, "T"}, {399, "E"}, {532, "S"}, {1197, "T"}}},
        {"kana at 250", 0, "250", 0, {{0, "テ"}, {432, "ス"}, {912, "ト"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        frmMain(); // start-up reads the stored alphabet; this case then uses its own
        AlphabetIsLatin = c.alphabet;
        FrmOptions& f = shown(c.speed);
        f.hScrollCodeInterval.userScrollTo(c.percent);
        f.TestButton.click();
        const platform::Tick start = clock().now();
        platform::sound().clearLog();
        f.TestButton.click();
        // Pressed twice: the second press sounds the same, without a rebuild.
        std::vector<std::pair<platform::Tick, QString>> starts;
        for (const Sounded& s : soundedSince(start))
            starts.emplace_back(s.at, s.what);
        EXPECT_EQ(starts, c.expected);
        EXPECT_TRUE(f.TestButton.enabled());
        EXPECT_TRUE(f.cmdStandardCw.enabled());
        forms::discardAll();
    }
}

TEST_F(SoundOptions, AMovedSliderRebuildsTheBankOnceBeforeTheTest)
{
    FrmOptions& f = shown("45");
    f.TestButton.click();
    const QByteArray marker("not rebuilt");
    LatinCharWave[5] = marker;
    f.TestButton.click();
    EXPECT_EQ(LatinCharWave[5], marker);

    f.WavVolumeHScroll.userScrollTo(3);
    f.TestButton.click();
    EXPECT_NE(LatinCharWave[5], marker);
    LatinCharWave[5] = marker;
    f.TestButton.click();
    EXPECT_EQ(LatinCharWave[5], marker);
}

TEST_F(SoundOptions, StandardCwPlaysTheWordAsOneRecordingToItsEnd)
{
    for (const std::int16_t alphabet : {std::int16_t(-1), std::int16_t(0)}) {
        AlphabetIsLatin = alphabet;
        FrmOptions& f = shown("45");
        QFile::remove(path("sound/Mogisiken.wav"));
        platform::sound().clearLog();
        f.cmdStandardCw.click();
        EXPECT_TRUE(QFile::exists(path("sound/Mogisiken.wav")));
        const auto log = platform::sound().log();
        ASSERT_FALSE(log.empty());
        EXPECT_TRUE(log.back().played);
        EXPECT_EQ(log.back().flags & platform::SND_ASYNC, 0u);
        EXPECT_FALSE(platform::sound().isPlaying());
        EXPECT_TRUE(f.TestButton.enabled());
        EXPECT_TRUE(f.cmdStandardCw.enabled());
        forms::discardAll();
    }
}

// Both tests read the main window's speed and tone as they stand and leave its boxes
// as they are, also outside the boxes' ranges.
TEST_F(SoundOptions, TestsLeaveTheMainWindowsBoxesAlone)
{
    for (const char* speed : {"300", "5", ""}) {
        SCOPED_TRACE(speed);
        FrmOptions& f = shown(speed);
        FrmMain& m = frmMain();
        m.textToneFreq.setText("9000");
        f.TestButton.click();
        f.cmdStandardCw.click();
        EXPECT_EQ(m.textCwSpeed.text(), speed);
        EXPECT_EQ(m.textToneFreq.text(), "9000");
        EXPECT_TRUE(f.TestButton.enabled());
        EXPECT_TRUE(f.cmdStandardCw.enabled());
        forms::discardAll();
    }
}

// The dialog opened inside the waits of a rebuild holds that rebuild until it
// closes: テスト then plays nothing of the half-built bank and stays usable.
TEST_F(SoundOptions, TestDuringARebuildPlaysNothing)
{
    FrmOptions& f = shown("45");
    bool building = false;
    std::size_t soundedInPress = 0;
    clock().callAfter(700, [&] {
        building = SoundBankBuilding();
        const std::size_t before = platform::sound().log().size();
        f.TestButton.click();
        soundedInPress = platform::sound().log().size() - before;
    });
    BuildSoundBank("25", 800, WaveSampleRate);
    EXPECT_TRUE(building);
    EXPECT_EQ(soundedInPress, 0u);
    EXPECT_TRUE(f.TestButton.enabled());
    EXPECT_TRUE(f.cmdStandardCw.enabled());
}
