#include "material/RandomPickers.h"

#include "material/RandomDraw.h"
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

namespace {
// The drawn character becomes the question before it sounds, so an answer given
// while it still sounds is judged against it.
void openQuestion(const QString& text)
{
    SentChar = text;
    if (frmMain().optionKikitoriMode.value()) {
        QuestionOpen = -1;
        QuestionCounted = 0;
        CountdownStoppedByKey = 0;
    }
}

void playFromBank(const QByteArray& image, int row, std::int16_t unitMs, const QString& text)
{
    if (!image.isEmpty())
        platform::sound().playMemory(image, platform::SND_MEMORY | platform::SND_ASYNC, text);
    // 3 units stretched by the code-interval factor, then the character itself.
    const double ms = static_cast<float>(3 * unitMs) * static_cast<double>(CodeIntervalFactor)
        + static_cast<float>(MorseRowAt(row).n * unitMs);
    WaitMilliseconds(platform::toInt32(ms));
}

// The answer countdown starts when the character and its gap have passed, unless
// the question was answered meanwhile, a key already began its answer, or the run
// was stopped.
void armCountdown()
{
    FrmMain& f = frmMain();
    if (!f.optionKikitoriMode.value() || QuestionOpen != -1 || StopRequested == -1 || CountdownStoppedByKey == -1)
        return;
    f.Label1.setCaption(QString());
    f.textLimitKikitoriMode.setText(platform::numberText(AnswerTimeLimitSec));
    f.timerLimitKikitoriMode.setEnabled(true);
}

QString latinText(int index) { return index >= 1 && index <= 48 ? LatinCharTable[index] : QString(); }
} // namespace

QString PlayRandomLatinWave(const QString& rangeName, std::int16_t unitMs, std::int16_t, std::int32_t)
{
    const int index = DrawLatinIndex(rangeName);
    const QString text = latinText(index);
    openQuestion(text);
    if (index)
        playFromBank(LatinCharWave[index], MorseRowOfLatin(index), unitMs, text);
    armCountdown();
    return text;
}

QString PlayRandomKanaWave(std::int16_t range, std::int16_t unitMs, std::int16_t, std::int32_t)
{
    const int index = DrawKanaIndex(range, false);
    const QString text = GetKanaText(static_cast<std::int16_t>(index));
    openQuestion(text);
    if (!text.isEmpty())
        playFromBank(KanaCharWave[index], MorseRowOfKana(index), unitMs, text);
    armCountdown();
    return text;
}

QString PlayRandomLatinBeep(const QString& rangeName, std::int16_t unitMs, std::int16_t toneHz)
{
    const int index = DrawLatinIndex(rangeName);
    const QString text = latinText(index);
    openQuestion(text);
    if (index)
        BeepMorseRow(MorseRowOfLatin(index), text, unitMs, 3 * unitMs, toneHz);
    armCountdown();
    return text;
}

QString PlayRandomKanaBeep(std::int16_t range, std::int16_t unitMs, std::int16_t toneHz)
{
    const int index = DrawKanaIndex(range, true);
    const QString text = GetKanaText(static_cast<std::int16_t>(index));
    openQuestion(text);
    if (!text.isEmpty()) {
        // The half-voicing mark is named by its full-width form on this road.
        const QString name = index == 50 ? QString::fromUtf16(u"゜") : text;
        BeepMorseRow(MorseRowOfKana(index), name, unitMs, 3 * unitMs, toneHz);
    }
    armCountdown();
    return text;
}
