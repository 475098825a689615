#include "practice/RunState.h"

std::int16_t UnitMs = 0;
std::int16_t StopRequested = 0;
std::int16_t AskedCount = 0;
std::int16_t CorrectCount = 0;
std::int16_t MissListCount = 0;
std::int16_t ExamWordCount = 0;
QString ExamAnswerText;
