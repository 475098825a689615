#pragma once
#include <QString>
#include <cstdint>

// The mock-exam generators: one exam of kind 0 (five-character groups), 1
// (random-length groups), 2 (pseudo-text from ExamWordList) or 3 (the exam-text
// editor's text), in the sound "Wave" (composed whole, then compiled and played
// by BuildAndPlayExamWave; returns while it plays) or "Beep" (sounded while it is
// composed; returns at the end or at Stop). The result is the exam text without
// the start and end signs: what was drawn so far when stopped. Another sound or
// kind gives "" and sounds nothing.
QString RunLatinMockExam(const QString& sound, std::int16_t kind, std::int16_t speed, std::int16_t minutes,
                         std::int16_t unit, std::int16_t tone, const QString& rangeName);
QString RunKanaMockExam(const QString& sound, std::int16_t kind, std::int16_t speed, std::int16_t minutes,
                        std::int16_t unit, std::int16_t tone, std::int16_t rangeIndex);

// The exam's budget in characters: speed x minutes, three quarters of it for kana
// (halves to even).
int MockExamBudget(bool kana, int speed, int minutes);
