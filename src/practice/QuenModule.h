#pragma once
#include <QString>
#include <array>
#include <cstdint>

// The two character tables that number everything the trainer sends and
// accepts, and the per-character miss counters of a single-character run.

constexpr int LatinCharCount = 48;
constexpr int KanaCharCount = 68;

// Index 1..48 / 1..68; entry 0 is unused and empty.
extern const std::array<QString, LatinCharCount + 1> LatinCharTable;
extern const std::array<QString, KanaCharCount + 1> KanaCharTable;

extern std::array<std::int16_t, LatinCharCount + 1> LatinMissCount;
extern std::array<std::int16_t, KanaCharCount + 1> KanaMissCount;

// Raises the counter of the Latin entry equal to text; any other text changes nothing.
void CountLatinMiss(const QString& text);
// Raises the counter of kana entry index; an index outside 1..68 changes nothing.
void CountKanaMiss(std::int16_t index);
// Text of kana entry index, "" outside 1..68.
QString GetKanaText(std::int16_t index);
// Index 1..68 of the kana entry equal to text, 0 when none is.
std::int16_t GetKanaIndex(const QString& text);
// Index 1..48 of the Latin entry equal to text, 0 when none is.
std::int16_t GetLatinIndex(const QString& text);
void ClearMissCounts();
