#pragma once
#include <QString>
#include <cstdint>

// The number of samples the exam recording of text would hold at the unit and
// rate, read as the compiler reads it (characters, voicing marks, bracketed
// signs, word gaps and the second of silence at each end). A character the
// compiler cannot build is counted all the same.
std::int64_t ExamRecordingSamples(const QString& text, std::int16_t alphabet, std::int16_t unitMs,
                                  std::int32_t sampleRate);

// Whether that recording fits a WAV file.
bool ExamRecordingFitsWaveFile(const QString& text, std::int16_t alphabet, std::int16_t unitMs,
                               std::int32_t sampleRate);
