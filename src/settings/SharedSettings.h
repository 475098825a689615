#pragma once
#include <QString>

#include <array>
#include <cstdint>

// Settings shared by both alphabets and the per-alphabet settings kept outside
// the controls. Flags are 16-bit: -1 true, 0 false. Arrays of word-file slots are
// indexed 1..3 (element 0 unused).

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

// Word lengths of the random-length exam groups (the options dialog's bound boxes).
extern std::int16_t LatinWordLenMin;
extern std::int16_t LatinWordLenMax;
extern std::int16_t KanaWordLenMin;
extern std::int16_t KanaWordLenMax;
// Word file of the pseudo-text exam: 0 the alphabet's sample file, 1..3 a slot.
extern std::int16_t LatinWordFileChoice;
extern std::int16_t KanaWordFileChoice;
// Registered word files: title (empty = free slot) and full path of slots 1..3.
extern std::array<QString, 4> LatinWordFileTitle;
extern std::array<QString, 4> LatinWordFilePath;
extern std::array<QString, 4> KanaWordFileTitle;
extern std::array<QString, 4> KanaWordFilePath;
// Code-check playback as last loaded or saved: repetitions 1..5 and the gap
// between them in units 3..10 (the sounding reads the options dialog's boxes).
extern std::int16_t LatinCodePlayCount;
extern std::int16_t LatinCodeGapUnits;
extern std::int16_t KanaCodePlayCount;
extern std::int16_t KanaCodeGapUnits;
