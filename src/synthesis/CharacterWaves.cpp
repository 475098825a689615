#include "synthesis/CharacterWaves.h"

#include "platform/files.h"
#include "platform/numbers.h"
#include "synthesis/Delay.h"
#include "synthesis/MakeWaveHeader.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/ToneOptions.h"
#include "synthesis/ToneSynthesis.h"

#include <iterator>
#include <vector>

namespace {

struct Writer {
    const char* name;
    bool waits; // waits 3 units x CodeIntervalFactor after writing
};

// In MorseCodeTable order.
constexpr Writer writers[] = {
    {"WriteWaveLetterA", false},    {"WriteWaveLetterB", false},    {"WriteWaveLetterC", false},
    {"WriteWaveLetterD", false},    {"WriteWaveLetterE", false},    {"WriteWaveLetterF", false},
    {"WriteWaveLetterG", false},    {"WriteWaveLetterH", false},    {"WriteWaveLetterI", false},
    {"WriteWaveLetterJ", false},    {"WriteWaveLetterK", false},    {"WriteWaveLetterL", false},
    {"WriteWaveLetterM", false},    {"WriteWaveLetterN", false},    {"WriteWaveLetterO", false},
    {"WriteWaveLetterP", false},    {"WriteWaveLetterQ", false},    {"WriteWaveLetterR", false},
    {"WriteWaveLetterS", false},    {"WriteWaveLetterT", false},    {"WriteWaveLetterU", false},
    {"WriteWaveLetterV", false},    {"WriteWaveLetterW", false},    {"WriteWaveLetterX", false},
    {"WriteWaveLetterY", false},    {"WriteWaveLetterZ", false},    {"WriteWaveDigit1", false},
    {"WriteWaveDigit2", false},     {"WriteWaveDigit3", false},     {"WriteWaveDigit4", false},
    {"WriteWaveDigit5", false},     {"WriteWaveDigit6", false},     {"WriteWaveDigit7", false},
    {"WriteWaveDigit8", false},     {"WriteWaveDigit9", false},     {"WriteWaveDigit0", false},
    {"WriteWavePeriod", true},      {"WriteWaveComma", true},       {"WriteWaveQuestion", false},
    {"WriteWaveSlash", true},       {"WriteWaveLeftParen", false},  {"WriteWaveRightParen", false},
    {"WriteWaveBT", false},         {"WriteWaveAR", true},          {"WriteWaveMinus", true},
    {"WriteWaveApostrophe", false}, {"WriteWaveQuote", false},      {"WriteWaveHH", false},
    {"WriteWaveKanaA", false},      {"WriteWaveKanaE", false},      {"WriteWaveKanaO", false},
    {"WriteWaveKanaKi", false},     {"WriteWaveKanaKo", false},     {"WriteWaveKanaSa", false},
    {"WriteWaveKanaSi", false},     {"WriteWaveKanaSu", false},     {"WriteWaveKanaSe", false},
    {"WriteWaveKanaSo", false},     {"WriteWaveKanaTe", false},     {"WriteWaveKanaTo", false},
    {"WriteWaveKanaNo", false},     {"WriteWaveKanaHi", false},     {"WriteWaveKanaMi", false},
    {"WriteWaveKanaWi", false},     {"WriteWaveKanaYu", false},     {"WriteWaveKanaWe", false},
    {"WriteWaveKanaRo", false},     {"WriteWaveHandakuten", false}, {"WriteWaveChouon", false},
    {"WriteWaveDanraku", false},    {"WriteWaveHore", true},        {"WriteWaveRata", false},
};
static_assert(std::size(writers) == 72);

SampleBuffer& elementBuffer(char symbol) { return symbol == '-' ? DashSamples : DotSamples; }

} // namespace

QString CharacterWavePath(int row)
{
    const MorseRow& r = MorseRowAt(row);
    return platform::joinPath(platform::besideProgram(QStringLiteral("sound")),
                              QString::fromLatin1(r.stem) + QStringLiteral(".wav"));
}

SampleBuffer& BuildCharacterSamples(int row, std::int16_t unitMs, std::int16_t toneHz,
                                    std::int32_t sampleRate)
{
    const QByteArray code(MorseRowAt(row).code);

    // Rebuild the elements the code uses, in the order they first appear, right
    // before joining: the buffers hold the last character built.
    for (char symbol : {code[0], code[0] == '.' ? '-' : '.'}) {
        if (!code.contains(symbol))
            continue;
        if (symbol == '.')
            BuildDotElement(unitMs, toneHz, sampleRate);
        else
            BuildDashElement(unitMs, toneHz, sampleRate);
    }

    // Join in sending order into the buffer of the first element.
    SampleBuffer& character = elementBuffer(code[0]);
    std::vector<const SampleBuffer*> rest;
    for (qsizetype i = 1; i < code.size(); ++i)
        rest.push_back(&elementBuffer(code[i]));
    JoinBuffers(character, rest);
    return character;
}

void WriteCharacterWave(int row, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate)
{
    const QString path = CharacterWavePath(row);
    const SampleBuffer& character = BuildCharacterSamples(row, unitMs, toneHz, sampleRate);
    WriteWaveHeader(sampleRate, 1, 16, path);
    WriteWaveData(character, path);

    if (writers[row - 1].waits) {
        // The exact product of the wide 3 x unit and the single-precision factor.
        const double gapUnits = 3.0 * unitMs;
        WaitMilliseconds(platform::toInt32(gapUnits * static_cast<double>(CodeIntervalFactor)));
    }
}

QByteArray CharacterWaveImage(int row, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate)
{
    return WaveImage(BuildCharacterSamples(row, unitMs, toneHz, sampleRate), sampleRate);
}

const char* WaveWriterName(int row)
{
    MorseRowAt(row); // fails for a row that does not exist
    return writers[row - 1].name;
}

int WaveWriterRow(QStringView name)
{
    for (std::size_t i = 0; i < std::size(writers); ++i)
        if (name == QLatin1String(writers[i].name))
            return static_cast<int>(i) + 1;
    return 0;
}
