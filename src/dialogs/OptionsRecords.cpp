#include "dialogs/OptionsRecords.h"

#include "dialogs/ExamTextState.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "settings/SharedSettings.h"

namespace {
constexpr TestCharacter latinTest[] = {{u"T", 20, 3}, {u"E", 5, 1}, {u"S", 19, 5}, {u"T", 20, 3}};
constexpr TestCharacter kanaTest[] = {{u"テ", 19, 15}, {u"ス", 13, 17}, {u"ト", 20, 11}};
} // namespace

OptionsVariables OptionsVariablesOf(std::int16_t alphabet)
{
    if (alphabet == -1)
        return {LatinWordLenMin, LatinWordLenMax, LatinWordFileChoice, LatinWordFileTitle, LatinWordFilePath,
                LatinCodePlayCount, LatinCodeGapUnits, LatinExamTextSelectMode};
    return {KanaWordLenMin, KanaWordLenMax, KanaWordFileChoice, KanaWordFileTitle, KanaWordFilePath,
            KanaCodePlayCount, KanaCodeGapUnits, KanaExamTextSelectMode};
}

QString QualityCaption(int step) { return QStringLiteral("[音質%1]").arg(step); }

QString VolumeCaption(int step) { return QStringLiteral("[音量%1]").arg(step * 2); }

QString CodeIntervalCaption(int percent)
{
    if (percent == 0)
        return QStringLiteral("遅延時間 ±0%");
    return QStringLiteral("遅延時間 ") + (percent > 0 ? QStringLiteral("+") : QString())
        + platform::numberText(percent) + QStringLiteral("%");
}

float CodeIntervalFactorOf(int percent)
{
    if (percent == 0)
        return 1.0f;
    return static_cast<float>(1 + percent * 0.01);
}

QString NoWordFileCaption() { return QStringLiteral("登録なし"); }

QString SampleWordFilePath(std::int16_t alphabet)
{
    return platform::besideProgram(alphabet == -1 ? QStringLiteral("dudevadizu.rur")
                                                  : QStringLiteral("dezevazedevovud.eru"));
}

std::span<const TestCharacter> TestWord(std::int16_t alphabet)
{
    if (alphabet == -1)
        return latinTest;
    if (alphabet == 0)
        return kanaTest;
    return {};
}

std::int32_t TestWaitMs(std::int16_t unitMs, float factor, int units)
{
    const double stretched = static_cast<double>(3 * unitMs) * static_cast<double>(factor);
    return platform::toInt32(stretched + static_cast<double>(units * unitMs));
}
