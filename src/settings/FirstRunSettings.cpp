#include "settings/FirstRunSettings.h"

#include "settings/SettingsFile.h"
#include "settings/SettingsRecords.h"

#include <utility>

namespace {
void put(QByteArray& image, int record, const QByteArray& value)
{
    image.replace(SettingsRecordOffset(record), value.size(), value);
}

// The controls' design values of one alphabet: code-check mode, 800 Hz, 45 per
// minute, the first exam kind, 3 minutes, word lengths 1 to 1, the sample word
// file, one play with a gap of 3 units, exam texts drawn at random.
void putBlock(QByteArray& image, const AlphabetRecords& r)
{
    const std::pair<int, int> values[] = {
        {r.mode, 1},
        {r.tone, 800},
        {r.speed, 45},
        {r.examKind, 0},
        {r.minutes, 3},
        {r.lowerBound, 1},
        {r.upperBound, 1},
        {r.wordFileChoice, 0},
        {r.codePlayCount, 1},
        {r.codeGapUnits, 3},
        {r.examTextSelectMode, 1},
    };
    for (const auto& [record, value] : values)
        put(image, record, SettingsInt16Bytes(static_cast<std::int16_t>(value)));
}
} // namespace

QByteArray FirstRunSettingsImage()
{
    // Zeros everywhere else: empty strings and tagged values, no user-chosen
    // character, code interval 0, no exam text or word file registered.
    QByteArray image(SettingsRecordOffset(SettingsRecordCount) + 2, '\0');
    put(image, SharedRecord::Alphabet, SettingsInt16Bytes(-1)); // the Latin alphabet
    put(image, SharedRecord::SoundMode, SettingsStringBytes(QStringLiteral("WAVE")));
    // The quality and volume sliders' design value.
    put(image, SharedRecord::Quality, SettingsInt16Bytes(1));
    put(image, SharedRecord::Volume, SettingsInt16Bytes(1));
    put(image, SharedRecord::SampleRate, SettingsInt32Bytes(16000));
    // The answer-limit box's design value.
    put(image, SharedRecord::AnswerLimit, SettingsInt16Bytes(10));
    putBlock(image, LatinRecords);
    putBlock(image, KanaRecords);
    // The first range of each alphabet. The Latin menu is designed with every item
    // marked, the user-chosen set among them, and that empty set would refuse the
    // first Start with "指定された文字がありません。".
    put(image, LatinRecords.range, SettingsStringBytes(QStringLiteral("AtoE")));
    put(image, KanaRecords.range, SettingsInt16Bytes(1)); // the first kana range item
    // The voiced-kana box is ticked by design.
    put(image, KanaRecords.excludeDakuten, SettingsInt16Bytes(-1));
    return image;
}
