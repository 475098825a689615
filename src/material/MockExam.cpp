#include "material/MockExam.h"

#include "dialogs/ExamTextState.h"
#include "dialogs/dialogMogisikenTxt.h"
#include "material/ExamWaveCompiler.h"
#include "material/ExamWords.h"
#include "material/KanaExamPickers.h"
#include "material/RandomDraw.h"
#include "material/RandomPickers.h"
#include "platform/numbers.h"
#include "practice/RunState.h"
#include "settings/SharedSettings.h"
#include "sounding/makeBeep.h"
#include "synthesis/Delay.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {
using BeepSign = void (*)(const QString&, std::int32_t, std::int32_t, std::int32_t);

// What differs between the Latin and the kana exam.
struct Twin {
    std::function<QString()> pickSilent;
    std::function<QString()> pickSounding;
    QString wavePreamble, waveEnd, waveEndOfText;
    BeepSign beepThirdSign; // with its word gap
    QString thirdName;
    BeepSign beepEnd;
    QString endName;
    int lenMin, lenMax;
    std::int16_t autoStartEnd;
    std::int16_t textSlot;
    bool kana;
};

bool stopped() { return StopRequested == -1; }

QString runExam(const Twin& t, const QString& sound, int kind, int speed, int minutes, int unit, int tone)
{
    const bool wave = sound == QLatin1String("Wave");
    const bool beep = sound == QLatin1String("Beep");
    if ((!wave && !beep) || kind < 0 || kind > 3)
        return QString();
    const int words = std::min<int>(ExamWordCount, ExamWordListSize);
    if (kind == 2 && words < 1)
        return QString(); // no words: nothing to send
    // Unit products are taken wide, whatever unit a caller passes.
    const std::int32_t dash = 3 * unit;
    const std::int32_t fourUnits = 4 * unit;
    const int budget = MockExamBudget(t.kana, speed, minutes);
    const bool signs = kind != 3 || t.autoStartEnd == -1;
    const auto& pick = wave ? t.pickSilent : t.pickSounding;
    QString text;

    if (beep && signs) {
        // H R twice, then the alphabet's third sign.
        for (int twice = 0; twice < 2; ++twice) {
            BeepLetterH(QStringLiteral("H"), unit, dash, tone);
            if (stopped())
                return text;
            BeepLetterR(QStringLiteral("R"), unit, dash, tone);
            WaitMilliseconds(fourUnits);
            if (stopped())
                return text;
        }
        t.beepThirdSign(t.thirdName, unit, dash, tone);
        if (stopped())
            return text;
    }

    bool lastGroupFull = false;
    if (kind == 0) {
        int j = 0, g = 0, b = budget;
        for (;;) {
            text += pick();
            ++j;
            if (stopped())
                return text;
            if (j % 5 == 0) {
                text += QLatin1Char(' ');
                if (beep)
                    WaitMilliseconds(fourUnits);
                --b;
                if (++g == 3) {
                    --b;
                    g = 0;
                }
            }
            if (j >= b)
                break;
        }
        lastGroupFull = j % 5 == 0;
        if (wave && !lastGroupFull)
            text += QLatin1Char(' ');
    } else if (kind == 1) {
        int j = 0, g = 0, k = 0;
        do {
            const float r = ReseededDraw();
            const int n = static_cast<int>(std::floor(static_cast<double>(t.lenMax - t.lenMin + 1) * r + t.lenMin));
            for (;;) {
                text += pick();
                ++k;
                ++j;
                if (k == n || j >= budget || stopped())
                    break;
            }
            if (stopped())
                return text;
            if (k == n) {
                text += QLatin1Char(' ');
                if (beep)
                    WaitMilliseconds(fourUnits);
                ++j;
                k = 0;
                if (++g == 3) {
                    ++j;
                    g = 0;
                }
            }
        } while (j < budget);
    } else if (kind == 2) {
        int j = 0, g = 0;
        do {
            const float r = ReseededDraw();
            const int w = std::clamp(static_cast<int>(std::floor(static_cast<double>(words) * r + 1)), 1, words);
            const QString word = ExamWordList[w];
            text += word;
            if (beep)
                WaitMilliseconds(fourUnits);
            if (++g == 3) {
                ++j;
                g = 0;
            }
            text += QLatin1Char(' ');
            // A blank line of the word file is an empty word: it sounds nothing, and
            // the text player's "nothing to read" box would interrupt the exam.
            j += beep && !word.isEmpty() ? PlayTextBeep(word, unit, tone) : static_cast<int>(word.size());
        } while (j < budget && !stopped());
        if (stopped())
            return text;
    } else {
        text = dialogMogisikenTxt().richTextBoxEdit.text();
        if (wave && stopped())
            return QString();
        if (beep) {
            PlayTextBeep(text, unit, tone);
            if (stopped())
                return text;
        }
    }

    if (wave) {
        const QString end = kind == 3 ? t.waveEndOfText : t.waveEnd;
        const QString full = signs ? t.wavePreamble + text + end : text;
        BuildAndPlayExamWave(kind == 3 ? t.textSlot : 99, full, static_cast<std::int16_t>(speed),
            static_cast<std::int16_t>(tone), WaveSampleRate, -1);
        return text;
    }
    // A full last group of five has just had its own 4 units.
    if (signs && !(kind == 0 && lastGroupFull))
        WaitMilliseconds(fourUnits);
    if (signs)
        t.beepEnd(t.endName, unit, dash, tone);
    WaitMilliseconds(1000);
    return text;
}
} // namespace

int MockExamBudget(bool kana, int speed, int minutes)
{
    const std::int64_t product = static_cast<std::int64_t>(speed) * minutes;
    if (!kana)
        return static_cast<int>(std::clamp<std::int64_t>(product, INT32_MIN, INT32_MAX));
    return platform::toInt32(static_cast<double>(product) * 0.75);
}

QString RunLatinMockExam(const QString& sound, std::int16_t kind, std::int16_t speed, std::int16_t minutes,
    std::int16_t unit, std::int16_t tone, const QString& rangeName)
{
    const Twin t {
        [&] { return PickRandomLatin(rangeName); },
        [&] { return PlayRandomLatinBeep(rangeName, unit, tone); },
        QStringLiteral("HR HR = "),
        QStringLiteral("+"),
        QStringLiteral("+"),
        BeepBTWordGap,
        QStringLiteral("BT"),
        BeepAR,
        QStringLiteral("AR"),
        LatinWordLenMin,
        LatinWordLenMax,
        LatinAutoStartEnd,
        LatinExamTextSlot,
        false,
    };
    return runExam(t, sound, kind, speed, minutes, unit, tone);
}

QString RunKanaMockExam(const QString& sound, std::int16_t kind, std::int16_t speed, std::int16_t minutes,
    std::int16_t unit, std::int16_t tone, std::int16_t rangeIndex)
{
    const Twin t {
        [&] { return PickRandomExamKana(rangeIndex); },
        [&] { return PlayRandomExamKanaBeep(rangeIndex, unit, tone); },
        QString::fromUtf16(u"HR HR [ﾎﾚ] "),
        QString::fromUtf16(u"[ﾗﾀ]"),
        QString::fromUtf16(u" [ﾗﾀ]"),
        BeepHoreWordGap,
        QString::fromUtf16(u"ホレ"),
        BeepRata,
        QString::fromUtf16(u"ラタ"),
        KanaWordLenMin,
        KanaWordLenMax,
        KanaAutoStartEnd,
        KanaExamTextSlot,
        true,
    };
    return runExam(t, sound, kind, speed, minutes, unit, tone);
}
