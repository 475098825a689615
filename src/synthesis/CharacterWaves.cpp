#include "synthesis/CharacterWaves.h"

#include "platform/files.h"
#include "platform/numbers.h"
#include "synthesis/Delay.h"
#include "synthesis/MakeWaveHeader.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/ToneOptions.h"
#include "synthesis/ToneSynthesis.h"

#include <vector>

namespace {

// The writers that wait 3 units x CodeIntervalFactor after writing.
bool writerWaits(int row)
{
    const QStringView key(MorseRowAt(row).key);
    for (const char16_t* waiting : {u".", u",", u"/", u"-", u"+", u"ホレ"})
        if (key == QStringView(waiting))
            return true;
    return false;
}

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

void WriteCharacterWave(int row, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate,
                        QByteArray& image)
{
    image = WaveImage(BuildCharacterSamples(row, unitMs, toneHz, sampleRate), sampleRate);
    // A character file is built again whenever it is needed: no wait for the disk.
    platform::writeCacheFile(CharacterWavePath(row), {image});
    if (writerWaits(row)) {
        // The exact product of the wide 3 x unit and the single-precision factor.
        const double gapUnits = 3.0 * unitMs;
        WaitMilliseconds(platform::toInt32(gapUnits * static_cast<double>(CodeIntervalFactor)));
    }
}
