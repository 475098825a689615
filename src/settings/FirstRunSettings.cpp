#include "settings/FirstRunSettings.h"

#include "settings/SettingsFile.h"

#include <utility>

namespace {
// The per-alphabet settings of the first-run file: record numbers of each
// block, and the value they start with.
struct Block {
    int mode, tone, speed, examKind, minutes;
    int lowerBound, upperBound, wordFileChoice, playCount, gapUnits, textSelectMode;
};
constexpr Block latinRecords{2, 3, 4, 5, 6, 12, 13, 14, 22, 23, 72};
constexpr Block kanaRecords{124, 125, 126, 127, 128, 130, 131, 132, 140, 141, 210};
// The controls' design values: code-check mode, 800 Hz, 45 per minute, the
// five-character groups (the design selects no exam kind, and a first mock exam
// must have one), 3 minutes, word lengths 1 to 1, the sample word file, one play
// with a gap of 3 units, exam texts drawn at random.
constexpr Block design{1, 800, 45, 0, 3, 1, 1, 0, 1, 3, 1};

void put(QByteArray& image, int record, const QByteArray& value)
{
    image.replace(SettingsRecordOffset(record), value.size(), value);
}

void putBlock(QByteArray& image, const Block& r)
{
    const std::pair<int, int> values[] = {
        {r.mode, design.mode},
        {r.tone, design.tone},
        {r.speed, design.speed},
        {r.examKind, design.examKind},
        {r.minutes, design.minutes},
        {r.lowerBound, design.lowerBound},
        {r.upperBound, design.upperBound},
        {r.wordFileChoice, design.wordFileChoice},
        {r.playCount, design.playCount},
        {r.gapUnits, design.gapUnits},
        {r.textSelectMode, design.textSelectMode},
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
    put(image, 1, SettingsInt16Bytes(-1)); // the Latin alphabet
    put(image, 7, SettingsStringBytes(QStringLiteral("WAVE")));
    put(image, 8, SettingsInt16Bytes(1)); // the quality and volume sliders' design value
    put(image, 9, SettingsInt16Bytes(1));
    put(image, 21, SettingsInt32Bytes(16000));
    put(image, 262, SettingsInt16Bytes(10)); // the answer-limit box's design value
    putBlock(image, latinRecords);
    putBlock(image, kanaRecords);
    // The first range of each alphabet. The Latin menu is designed with every item
    // marked, the user-chosen set among them, and that empty set would refuse the
    // first Start with "指定された文字がありません。".
    put(image, 11, SettingsStringBytes(QStringLiteral("AtoE")));
    put(image, 129, SettingsInt16Bytes(1)); // the first kana range item
    put(image, 261, SettingsInt16Bytes(-1)); // the voiced-kana box is ticked by design
    return image;
}
