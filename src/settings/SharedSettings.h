#pragma once
#include <QString>
#include <array>
#include <cstdint>

// Settings shared by both alphabets and the per-alphabet settings kept outside
// the controls. Flags are 16-bit: -1 true, 0 false.

// -1 the Latin alphabet (欧文), 0 kana (和文).
extern std::int16_t AlphabetIsLatin;
// Samples per second of the generated WAV files (8000 or 16000).
extern std::int32_t WaveSampleRate;
// Seconds allowed for a single-character answer, 0 = no limit.
extern std::int16_t AnswerTimeLimitSec;
// -1: leave voiced and half-voiced kana out of kana exams.
extern std::int16_t KanaExcludeDakuten;
// The stored kana range 1..18 (0 = take the checked menu item).
extern std::int16_t KanaRangeIndex;
// Shortest and longest group of the random-length-groups exam.
extern std::int16_t LatinWordLenMin;
extern std::int16_t LatinWordLenMax;
extern std::int16_t KanaWordLenMin;
extern std::int16_t KanaWordLenMax;
// Paths of the three registered word files per alphabet, slots 1..3 ("" = free).
extern std::array<QString, 4> LatinWordFilePath;
extern std::array<QString, 4> KanaWordFilePath;
