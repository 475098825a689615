#include "settings/SharedSettings.h"

std::int16_t AlphabetIsLatin = -1;
std::int32_t WaveSampleRate = 16000;
std::int16_t AnswerTimeLimitSec = 0;
std::int16_t KanaExcludeDakuten = 0;
std::int16_t KanaRangeIndex = 0;
