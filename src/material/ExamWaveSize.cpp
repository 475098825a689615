#include "material/ExamWaveSize.h"

#include "material/ExamTextReader.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/ToneSynthesis.h"

#include <cmath>

namespace {
class Count {
public:
    Count(std::int16_t unitMs, std::int32_t rate) : unit_(unitMs), rate_(rate) {}

    // Samples of ms, rounded as the tone builder rounds them.
    std::int64_t of(double ms) const
    {
        return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(rate_) * ms / 1000));
    }
    // A character: each element behind a unit of silence, the whole behind 2 units.
    std::int64_t character(int row) const
    {
        if (row == 0)
            return 0;
        std::int64_t n = of(2.0 * unit_);
        for (const char* e = MorseRowAt(row).code; *e; ++e)
            n += of(unit_) + of((*e == '-' ? 3.0 : 1.0) * unit_);
        return n;
    }
    std::int64_t wordGap() const { return of(4.0 * unit_); }

private:
    std::int16_t unit_;
    std::int32_t rate_;
};
} // namespace

std::int64_t ExamRecordingSamples(const QString& text, std::int16_t alphabet, std::int16_t unitMs,
                                  std::int32_t sampleRate)
{
    const Count count(unitMs, sampleRate);
    std::int64_t n = 2 * count.of(1000);
    bool kanaBrackets = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const VoicedKanaReading read = ReadVoicedKana(text[i]);
        const QChar ch = read.plain;
        if (IsLineBreak(ch)) {
        } else if (IsWordSpace(ch)) {
            n += count.wordGap();
        } else if (OpensBracket(ch)) {
            const BracketSign sign = ReadBracketToken(QStringView(text).mid(i, 4));
            if (sign == BracketSign::Hore)
                kanaBrackets = true;
            else if (sign != BracketSign::None)
                kanaBrackets = false;
            n += count.character(BracketSignRow(sign));
            i += 3;
        } else {
            n += count.character(ExamCharacterRow(ch, kanaBrackets || alphabet == 0));
        }
        if (read.mark != VoicingMark::None)
            n += count.character(VoicingMarkRow(read.mark));
    }
    return n;
}

bool ExamRecordingFitsWaveFile(const QString& text, std::int16_t alphabet, std::int16_t unitMs,
                               std::int32_t sampleRate)
{
    return ExamRecordingSamples(text, alphabet, unitMs, sampleRate) <= MaxWaveSamples;
}
