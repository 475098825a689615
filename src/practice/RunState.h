#pragma once
#include <QString>
#include <cstdint>

// State that the running practice loop shares with the handlers that run nested
// inside its waits. Flags are 16-bit: -1 true, 0 false.

// The Morse unit in ms of the current speed.
extern std::int16_t UnitMs;
// Set by EndPracticeRun; the run loops test it between characters and answers.
extern std::int16_t StopRequested;
// The answer to the open question ("ESC" = given up); "" while none was given.
extern QString AnswerChar;
// -1 from the moment a single-character question's character is drawn until its
// first answer: only then does an answer count, and only once.
extern std::int16_t QuestionOpen;
// -1 while the open question has been counted in AskedCount.
extern std::int16_t QuestionCounted;
// -1 once a key reached an answering reader during the open question: its
// countdown is stopped and nothing arms it again for that question.
extern std::int16_t CountdownStoppedByKey;
// The character that was sent for the open (or last) question.
extern QString SentChar;
extern std::int16_t AskedCount;
extern std::int16_t CorrectCount;
// Entries of the results window's miss list so far (line breaks after every fifth).
extern std::int16_t MissListCount;
// Words of the pseudo-text exam read from the word file.
extern std::int16_t ExamWordCount;
// The text of the last mock exam, shown by the exam answer window.
extern QString ExamAnswerText;
