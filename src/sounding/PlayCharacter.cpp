#include "sounding/PlayCharacter.h"

#include "platform/failure.h"
#include "platform/numbers.h"
#include "platform/sound/sound_service.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "sounding/makeBeep.h"
#include "synthesis/Delay.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/SoundBank.h"
#include "synthesis/ToneOptions.h"

std::int16_t CodeCheckPlaying = 0;
std::int16_t CodeCheckStopRequested = 0;

namespace {
// Calls of PlayCharacter on the stack: a nested press must not clear the flags the
// interrupted call still repeats under.
int depth = 0;
// Every call gets the next number. An Esc stops the calls that had started when
// it was pressed (numbers up to stoppedUpTo), never one that starts after it.
std::int64_t lastStarted = 0;
std::int64_t stoppedUpTo = 0;
// The number of the innermost call on the stack (0: none); the calls outside it have
// lower numbers, so an Esc that stopped it stopped them all.
std::int64_t innermost = 0;

// Takes a raised stop request as meant for every call started so far.
void takeStopRequest()
{
    if (CodeCheckStopRequested != -1)
        return;
    CodeCheckStopRequested = 0;
    stoppedUpTo = lastStarted;
}

bool bankIsStale(const QString& speedText, std::int16_t toneHz)
{
    if (SoundBankSpeedText.isEmpty() || speedText != SoundBankSpeedText)
        return true;
    std::optional<std::int16_t> builtTone;
    platform::ignoreErrors([&] { builtTone = platform::textToInt16(SoundBankFreqText); });
    return builtTone != toneHz || !SoundBankHoldsAlphabet();
}
} // namespace

bool CodeCheckRepeating()
{
    return depth > 0 && CodeCheckStopRequested != -1 && innermost > stoppedUpTo;
}

int CodeCheckRow(const QString& text, const QByteArray** image)
{
    const bool bracket = text == QLatin1String("(") || text == QLatin1String(")");
    int latin = GetLatinIndex(text), kana = GetKanaIndex(text);
    if (bracket) {
        // The brackets change their code with the alphabet.
        if (AlphabetIsLatin == -1)
            kana = 0;
        else if (AlphabetIsLatin == 0)
            latin = 0;
        else
            return 0;
    }
    if (latin) {
        if (image)
            *image = &LatinCharWave[latin];
        return MorseRowOfLatin(latin);
    }
    if (kana) {
        if (image)
            *image = &KanaCharWave[kana];
        return MorseRowOfKana(kana);
    }
    return 0;
}

void PlayCharacter(const QString& text, const QString& speedText, std::int16_t toneHz, std::int32_t sampleRate,
                   std::int16_t playCount, std::int16_t gapUnits)
{
    FrmMain& f = frmMain();
    // Presses made inside a rebuild (this call's own among them) wait until this
    // character has sounded whole.
    const WaitingPressesHold hold;
    UnitMs = ComputeUnitMs(speedText);
    // Kept wide: a long unit must not overflow the gap.
    const std::int32_t gapMs = (static_cast<std::int32_t>(gapUnits) - 3) * UnitMs;
    takeStopRequest();
    const std::int64_t self = ++lastStarted;
    CodeCheckPlaying = -1;
    ++depth;
    struct End {
        std::int64_t outer = innermost;
        ~End()
        {
            innermost = outer;
            --depth;
            CodeCheckPlaying = depth > 0 ? -1 : 0;
            if (depth == 0)
                CodeCheckStopRequested = 0;
        }
    } end;
    innermost = self;

    // The code of the alphabet the press was made in, the one the rebuild below
    // builds: a switch inside its waits would turn a bracket into the other
    // alphabet's code, whose image this bank does not hold.
    const QByteArray* image = nullptr;
    const int row = CodeCheckRow(text, &image);

    if (!f.mnuSoundBeep.checked() && f.mnuSoundWave.checked() && bankIsStale(speedText, toneHz))
        BuildSoundBank(speedText, toneHz, sampleRate);

    if (!row)
        return;
    const int n = MorseRowAt(row).n;
    f.Label1.setCaption(text);

    for (int i = 1; i <= playCount; ++i) {
        takeStopRequest();
        if (self <= stoppedUpTo)
            return;
        const std::int32_t unit = UnitMs;
        if (f.mnuSoundWave.checked()) {
            // An image that was never built is skipped; its wait is kept.
            if (!image->isEmpty())
                platform::sound().playMemory(*image, platform::SND_MEMORY | platform::SND_ASYNC, text);
            WaitMilliseconds(WaveCharacterWaitMs(n, static_cast<std::int16_t>(unit), gapMs));
        } else if (f.mnuSoundBeep.checked()) {
            BeepMorseRow(row, text, unit, 3 * unit, toneHz);
            WaitMilliseconds(gapMs);
        }
    }
}
