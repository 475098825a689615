#pragma once
#include "practice/Question.h"

#include <QString>
#include <cstdint>

// State that the running practice loop shares with the handlers that run nested
// inside its waits. Flags are 16-bit: -1 true, 0 false.

// The Morse unit in ms of the current speed.
extern std::int16_t UnitMs;
// Set by EndPracticeRun; the run loops test it between characters and answers.
extern std::int16_t StopRequested;
// The question's own state (SentChar, AnswerChar, QuestionOpen, ...) is in
// practice/Question.h.
// Questions (or rounds) asked and right answers of the run; question.cpp raises them.
extern std::int16_t AskedCount;
extern std::int16_t CorrectCount;
// Entries of the results window's miss list so far (line breaks after every fifth).
extern std::int16_t MissListCount;
// Words of the pseudo-text exam read from the word file.
extern std::int16_t ExamWordCount;
// The text of the last mock exam, shown by the exam answer window.
extern QString ExamAnswerText;
