#include "material/ExamSampleBuilders.h"

#include "synthesis/CharacterWaves.h"
#include "synthesis/MorseCodeTable.h"

SampleBuffer ExamSamples;
SampleBuffer ExamCharSamples;
std::int16_t TextCharPos = 0;

int MorseRowOfKey(QStringView key)
{
    const auto table = MorseCodeTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (key == QStringView(table[i].key))
            return static_cast<int>(i) + 1;
    return 0;
}

SampleBuffer ExamCharacterSamples(int row, std::int16_t unitMs, std::int16_t toneHz,
                                  std::int32_t sampleRate)
{
    SampleBuffer& character = BuildCharacterSamples(row, unitMs, toneHz, sampleRate);
    // Wide: two units of a long unit pass the 16-bit range.
    PadSilence(character, sampleRate, 2.0 * unitMs, 0);
    return character;
}

void BuildExamSamples(int row, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate)
{
    SampleBuffer character = ExamCharacterSamples(row, unitMs, toneHz, sampleRate);
    if (TextCharPos == 1)
        ExamSamples = std::move(character);
    else if (TextCharPos >= 2)
        ExamCharSamples = std::move(character);
}

void AppendWordGap(std::int16_t unitMs, std::int32_t sampleRate)
{
    PadSilence(ExamSamples, sampleRate, 0, 4.0 * unitMs);
}
