#include "material/ExamSampleBuilders.h"

#include "synthesis/CharacterWaves.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/ToneOptions.h"

#include <vector>

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

namespace {

// The characters made for one set of element settings, by row; empty: not made.
struct MadeCharacters {
    std::int16_t unitMs = 0, toneHz = 0;
    std::int32_t sampleRate = 0;
    int quality = 0, volume = 0;
    std::vector<SampleBuffer> rows;
} made;

const SampleBuffer& examCharacter(int row, std::int16_t unitMs, std::int16_t toneHz,
                                  std::int32_t sampleRate)
{
    MorseRowAt(row); // a row outside the table fails here
    const int quality = ToneQualityValue();
    const int volume = ToneVolumeValue();
    if (made.rows.empty() || made.unitMs != unitMs || made.toneHz != toneHz
        || made.sampleRate != sampleRate || made.quality != quality || made.volume != volume)
        made = {unitMs, toneHz, sampleRate, quality, volume,
                std::vector<SampleBuffer>(MorseCodeTable().size())};
    SampleBuffer& character = made.rows[static_cast<std::size_t>(row - 1)];
    if (character.empty()) {
        SampleBuffer& built = BuildCharacterSamples(row, unitMs, toneHz, sampleRate);
        // Wide: two units of a long unit pass the 16-bit range.
        PadSilence(built, sampleRate, 2.0 * unitMs, 0);
        character = built;
    }
    return character;
}

} // namespace

void BuildExamSamples(int row, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate)
{
    const SampleBuffer& character = examCharacter(row, unitMs, toneHz, sampleRate);
    // assign keeps the room the compiler laid out for the whole recording.
    if (TextCharPos == 1)
        ExamSamples.assign(character.begin(), character.end());
    else if (TextCharPos >= 2)
        ExamCharSamples.assign(character.begin(), character.end());
}

void AppendWordGap(std::int16_t unitMs, std::int32_t sampleRate)
{
    PadSilence(ExamSamples, sampleRate, 0, 4.0 * unitMs);
}
