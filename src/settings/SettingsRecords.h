#pragma once
#include <array>
#include <cstdint>

// Where every setting lives in saveset.dat (SettingsFile.h): the one table of
// record numbers that the loaders, the writers, the first-run file, the dialogs
// and the exam recordings' cache all use.

// Records both alphabets share.
namespace SharedRecord {
constexpr int Alphabet = 1;     // 16-bit: -1 Latin, 0 kana
constexpr int SoundMode = 7;    // text: "WAVE", "BEEP" (the loaders also take "WAVE_DELAY")
constexpr int Quality = 8;      // 16-bit: tone quality 1..5
constexpr int Volume = 9;       // 16-bit: volume step 1..5
constexpr int CodeInterval = 10; // 16-bit: -100..100 percent
constexpr int SampleRate = 21;  // 32-bit: 8000 or 16000
constexpr int AnswerLimit = 262; // 16-bit: seconds 0..10
} // namespace SharedRecord

// One alphabet's block. Records of a numbered slot are the first record plus
// the slot (user-chosen element i at firstUserChosen + i - 1; word-file slots
// 1..3 by index; exam-text slots 0..9 added to their first record).
struct AlphabetRecords {
    // The main window's settings.
    int mode, tone, speed, examKind, minutes;
    int range;           // Latin: the range key (text); kana: the range index (16-bit)
    int firstUserChosen; // Latin: 16-bit integers; kana: tagged values
    int userChosenCount;
    int excludeDakuten; // kana only (16-bit flag); 0 in the Latin block
    // The options dialog's settings.
    int lowerBound, upperBound, wordFileChoice;
    std::array<int, 4> wordFileTitle, wordFilePath; // text, slots 1..3
    int codePlayCount, codeGapUnits;
    // The exam-text dialog's settings.
    int examTextSelectMode, autoStartEnd;
    int firstExamTextPath, firstExamTextEnabled;
    // The key of each exam text's recording: start/end flag (16-bit), tone and
    // speed (tagged values).
    int firstWaveStartEnd, firstWaveFreq, firstWaveSpeed;
};

// clang-format off
constexpr AlphabetRecords LatinRecords{
    2, 3, 4, 5, 6, 11, 24, 48, 0,
    12, 13, 14, {0, 15, 17, 19}, {0, 16, 18, 20}, 22, 23,
    72, 73, 74, 84,
    94, 104, 114};
constexpr AlphabetRecords KanaRecords{
    124, 125, 126, 127, 128, 129, 142, 68, 261,
    130, 131, 132, {0, 134, 136, 138}, {0, 135, 137, 139}, 140, 141,
    210, 133, 211, 221,
    231, 241, 251};
// clang-format on

// -1 the Latin block; any other value the kana block (callers that must not
// touch either block check the flag first).
constexpr const AlphabetRecords& RecordsOf(std::int16_t alphabet)
{
    return alphabet == -1 ? LatinRecords : KanaRecords;
}

// The sample rates the program makes. A stored value that is neither (a damaged
// or foreign file) loads as the higher one.
constexpr std::int32_t SampleRateOfRecord(std::int32_t stored)
{
    return stored == 8000 ? 8000 : 16000;
}
