#pragma once
#include <QString>
#include <cstdint>

// Compiles an exam text into one WAV file in the sound folder and plays it. A
// generated exam (slot 99) always gets a fresh recording; the recording of a
// registered exam text (slot 0..9) is kept per alphabet and slot and played again
// while its key (automatic start/end flag, tone, speed) still matches.

// The file of a slot: sound/MogisikenOubun<slot>.wav (Latin) or
// sound/MogisikenWabun<slot>.wav (kana) for 0..9, sound/Mogisiken.wav for 99 and
// for anything that names no slot file (another slot, another alphabet value).
QString ExamWaveFilePath(std::int16_t slot, std::int16_t alphabet);

// Reads text as Morse, builds every character in memory, writes the recording with
// 1000 ms of silence at each end and plays it.
//   interactive -1 (a mock exam): shows the progress window, where Esc cancels;
//     plays asynchronously and arms the main window's end-of-playback poll
//     (timerCheckWavePlayEnd, 800 ms); returns while the sound plays.
//   interactive 0 (the options dialog's sample): no progress window; returns when
//     the sound has ended.
// A reused recording is always played asynchronously with the poll armed. An empty
// text (with nothing to reuse) shows "読み込む文字が有りません｡". A cancelled build
// writes, stores and plays nothing. A call made while another build runs (from a
// handler during its yields) does nothing.
void BuildAndPlayExamWave(std::int16_t slot, const QString& text, std::int16_t speed,
                          std::int16_t tone, std::int32_t sampleRate, std::int16_t interactive);

// The progress bar value after text position i of n (1-based): 10 at the end, else
// the largest k in 9..1 with i >= n x k / 10; 0 leaves the bar as it is.
int ExamProgressAt(qsizetype i, qsizetype n);

// The number of samples the exam recording of text would hold at the unit and
// rate, read as the compiler reads it (characters, voicing marks, bracketed
// signs, word gaps and the second of silence at each end). A character the
// compiler cannot build is counted all the same. The compiler refuses a text
// whose recording would pass MaxWaveSamples, and lays the recording out at this
// length.
std::int64_t ExamRecordingSamples(const QString& text, std::int16_t alphabet, std::int16_t unitMs,
                                  std::int32_t sampleRate);
