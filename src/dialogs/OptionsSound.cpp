// The options dialog's sound tab and sample rate: tone quality and volume, the
// code interval, and the two test playbacks.
#include "dialogs/OptionsRecords.h"
#include "dialogs/frmOptions.h"

#include "material/ExamWaveCompiler.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "platform/sound/sound_service.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "synthesis/Delay.h"
#include "synthesis/SoundBank.h"
#include "synthesis/ToneOptions.h"
#include "practice/RunState.h"

using namespace forms;

void FrmOptions::WavQuarityHScroll_Change()
{
    const int q = WavQuarityHScroll.value();
    if (q >= 1 && q <= 5)
        QuarityLabel.setCaption(QualityCaption(q));
    SettingChanged();
}

void FrmOptions::WavVolumeHScroll_Change()
{
    const int v = WavVolumeHScroll.value();
    if (v >= 1 && v <= 5)
        VolumeLabel.setCaption(VolumeCaption(v));
    SettingChanged();
}

void FrmOptions::ShowCodeInterval(int percent)
{
    CodeIntervalFactor = CodeIntervalFactorOf(percent);
    labelCodeInterval.setCaption(CodeIntervalCaption(percent));
}

void FrmOptions::hScrollCodeInterval_Change()
{
    ShowCodeInterval(hScrollCodeInterval.value());
    SettingChanged();
}

void FrmOptions::optionWaveSampLow_Click()
{
    WaveSampleRate = 8000;
    SettingChanged();
}

void FrmOptions::optionWaveSampHigh_Click()
{
    WaveSampleRate = 16000;
    SettingChanged();
}

// The test word from the sound bank, character by character with the gaps of live
// practice, the code interval included.
void FrmOptions::TestButton_Click()
{
    // Opened inside the waits of a rebuild, this dialog holds that rebuild until it
    // closes: the half-built bank is not played.
    if (SoundBankBuilding())
        return;
    FrmMain& m = frmMain();
    // The main window's speed text as it stands: a test changes none of its boxes.
    UnitMs = ComputeUnitMs(m.textCwSpeed.text());
    TestButton.setEnabled(false);
    cmdStandardCw.setEnabled(false);

    // Besides moved sliders, a bank built for another speed, tone or alphabet
    // is rebuilt, as Start would: its images would not fit the waits.
    const std::int16_t tone = m.ToneOfBox();
    if (WavQuarityHScroll.value() != LastWaveQuality || WavVolumeHScroll.value() != LastWaveVolume
        || m.textCwSpeed.text() != SoundBankSpeedText || m.textToneFreq.text() != SoundBankFreqText
        || !SoundBankHoldsAlphabet()) {
        BuildSoundBank(m.textCwSpeed.text(), tone, WaveSampleRate);
        if (!isLoaded())
            return;
        LastWaveQuality = static_cast<std::int16_t>(WavQuarityHScroll.value());
        LastWaveVolume = static_cast<std::int16_t>(WavVolumeHScroll.value());
    }
    ShowCodeInterval(hScrollCodeInterval.value());

    const bool latin = AlphabetIsLatin == -1;
    for (const TestCharacter& c : TestWord(AlphabetIsLatin)) {
        const QByteArray& image = latin ? LatinCharWave[c.bankIndex] : KanaCharWave[c.bankIndex];
        // An entry never built (the Beep sound, or a failed rebuild) is silent; its
        // wait is kept.
        if (!image.isEmpty())
            platform::sound().playMemory(image, platform::SND_MEMORY | platform::SND_ASYNC, QString::fromUtf16(c.text));
        WaitMilliseconds(TestWaitMs(UnitMs, CodeIntervalFactor, c.units));
        if (!isLoaded())
            return; // the dialog was closed during the wait
    }
    TestButton.setEnabled(true);
    cmdStandardCw.setEnabled(true);
}

// The test word as one generated recording with the standard gaps, played to its end.
void FrmOptions::cmdStandardCw_Click()
{
    TestButton.setEnabled(false);
    cmdStandardCw.setEnabled(false);
    FrmMain& m = frmMain();
    const QString word = AlphabetIsLatin == -1 ? QStringLiteral("TEST")
        : AlphabetIsLatin == 0                 ? QStringLiteral("ﾃｽﾄ")
                                               : QString();
    // A speed box being edited (empty) sounds nothing and leaves the buttons usable.
    if (!word.isEmpty() && platform::isNumericText(m.textCwSpeed.text())) {
        const std::int16_t speed = platform::textToInt16(m.textCwSpeed.text());
        BuildAndPlayExamWave(99, word, speed, m.ToneOfBox(), WaveSampleRate, 0);
    }
    if (!isLoaded())
        return;
    TestButton.setEnabled(true);
    cmdStandardCw.setEnabled(true);
}
