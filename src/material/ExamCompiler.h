#pragma once
#include <QString>
#include <cstdint>

// The exam compiler: turns an exam text into one WAV file in the sound folder
// ("Mogisiken.wav" for slot 99, the registered text's own file for slots 0..9,
// reused while its cache key holds) and plays it. interactive -1 (mock exams):
// progress window, asynchronous playback and the end-of-playback poll armed
// (timerCheckWavePlayEnd at 800 ms); the call returns while the exam plays.
// interactive 0 (the options dialog's sample): returns when the sound has ended.
void BuildAndPlayExamWave(std::int16_t slot, const QString& text, std::int16_t speed, std::int16_t tone,
                          std::int32_t sampleRate, std::int16_t interactive);
