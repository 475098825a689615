#include "material/RandomPickers.h"

#include "material/RandomDraw.h"
#include "platform/numbers.h"
#include "platform/sound/sound_service.h"
#include "practice/QuenModule.h"
#include "practice/Question.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "sounding/makeBeep.h"
#include "synthesis/Delay.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/SoundBank.h"
#include "synthesis/ToneOptions.h"

namespace {
void playFromBank(const QByteArray& image, int row, std::int16_t unitMs, const QString& text)
{
    if (!image.isEmpty())
        platform::sound().playMemory(image, platform::SND_MEMORY | platform::SND_ASYNC, text);
    WaitMilliseconds(WaveCharacterWaitMs(MorseRowAt(row).n, unitMs));
}

QString latinText(int index) { return index >= 1 && index <= 48 ? LatinCharTable[index] : QString(); }
} // namespace

QString PlayRandomLatinWave(const QString& rangeName, std::int16_t unitMs, std::int16_t, std::int32_t)
{
    const int index = DrawLatinIndex(rangeName);
    const QString text = latinText(index);
    question::open(text);
    if (index)
        playFromBank(LatinCharWave[index], MorseRowOfLatin(index), unitMs, text);
    question::armCountdown();
    return text;
}

QString PlayRandomKanaWave(std::int16_t range, std::int16_t unitMs, std::int16_t, std::int32_t)
{
    const int index = DrawKanaIndex(range, false);
    const QString text = GetKanaText(static_cast<std::int16_t>(index));
    question::open(text);
    if (!text.isEmpty())
        playFromBank(KanaCharWave[index], MorseRowOfKana(index), unitMs, text);
    question::armCountdown();
    return text;
}

QString PlayRandomLatinBeep(const QString& rangeName, std::int16_t unitMs, std::int16_t toneHz)
{
    const int index = DrawLatinIndex(rangeName);
    const QString text = latinText(index);
    question::open(text);
    if (index)
        BeepMorseRow(MorseRowOfLatin(index), text, unitMs, 3 * unitMs, toneHz);
    question::armCountdown();
    return text;
}

QString PlayRandomKanaBeep(std::int16_t range, std::int16_t unitMs, std::int16_t toneHz)
{
    const int index = DrawKanaIndex(range, true);
    const QString text = GetKanaText(static_cast<std::int16_t>(index));
    question::open(text);
    if (!text.isEmpty()) {
        // The half-voicing mark is named by its full-width form on this road.
        const QString name = index == 50 ? QString::fromUtf16(u"゜") : text;
        BeepMorseRow(MorseRowOfKana(index), name, unitMs, 3 * unitMs, toneHz);
    }
    question::armCountdown();
    return text;
}
