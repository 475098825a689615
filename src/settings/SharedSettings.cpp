#include "settings/SharedSettings.h"

std::int16_t AlphabetIsLatin = -1;
std::int32_t WaveSampleRate = 16000;
std::int16_t AnswerTimeLimitSec = 0;
std::int16_t KanaExcludeDakuten = 0;
std::int16_t KanaRangeIndex = 0;

std::int16_t LatinWordLenMin = 0;
std::int16_t LatinWordLenMax = 0;
std::int16_t KanaWordLenMin = 0;
std::int16_t KanaWordLenMax = 0;
std::int16_t LatinWordFileChoice = 0;
std::int16_t KanaWordFileChoice = 0;
std::array<QString, 4> LatinWordFileTitle;
std::array<QString, 4> LatinWordFilePath;
std::array<QString, 4> KanaWordFileTitle;
std::array<QString, 4> KanaWordFilePath;
std::int16_t LatinCodePlayCount = 0;
std::int16_t LatinCodeGapUnits = 0;
std::int16_t KanaCodePlayCount = 0;
std::int16_t KanaCodeGapUnits = 0;
