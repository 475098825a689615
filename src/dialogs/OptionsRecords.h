#pragma once
#include <QString>
#include <array>
#include <span>
#include <cstdint>

// The shared variables the options dialog's settings records load into, and the
// readings its controls show.

// The twins of the alphabet.
struct OptionsVariables {
    std::int16_t& lower;
    std::int16_t& upper;
    std::int16_t& choice;
    std::array<QString, 4>& title;
    std::array<QString, 4>& path;
    std::int16_t& playCount;
    std::int16_t& gapUnits;
    std::int16_t& textSelectMode;
};
OptionsVariables OptionsVariablesOf(std::int16_t alphabet);

// "[音質1]" .. "[音質5]" and "[音量2]" .. "[音量10]" for the steps 1..5.
QString QualityCaption(int step);
QString VolumeCaption(int step);
// "遅延時間 ±0%", "遅延時間 +25%", "遅延時間 -40%".
QString CodeIntervalCaption(int percent);
// 1 + p / 100 in single precision (1 at 0).
float CodeIntervalFactorOf(int percent);
// A free word-file slot's caption.
QString NoWordFileCaption();
// The alphabet's sample word file beside the program.
QString SampleWordFilePath(std::int16_t alphabet);

// One character of the test word: its sound-bank entry and length in units.
struct TestCharacter {
    const char16_t* text;
    int bankIndex;
    int units;
};
// T, E, S, T (Latin) or テ, ス, ト (kana); empty for another alphabet value.
std::span<const TestCharacter> TestWord(std::int16_t alphabet);
// The wait after a test character: 3 units stretched by the factor plus the
// character's own length, rounded to whole ms with halves to even.
std::int32_t TestWaitMs(std::int16_t unitMs, float factor, int units);
