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
std::array<QString, 4> LatinWordFilePath;
std::array<QString, 4> KanaWordFilePath;
