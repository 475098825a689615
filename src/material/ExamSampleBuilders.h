#pragma once
#include "synthesis/ToneSynthesis.h"

#include <QStringView>
#include <cstdint>

// The characters of an exam recording, built in memory. One routine builds any row
// of MorseCodeTable with the spacing the recording needs: the row's elements (a
// unit of silence before each) behind 2 units of silence, so characters stand 3
// units apart. Failures throw platform::Failure before anything is stored.

// The recording being compiled.
extern SampleBuffer ExamSamples;
// The character built at a later text position.
extern SampleBuffer ExamCharSamples;
// The compiler's position counter: 1 the first position of the recording, 2 or
// more a later one, 0 or less stores nothing.
extern std::int16_t TextCharPos;

// Builds row 1..72 as the recording sends it (2 units of silence, then the row's
// elements, a unit of silence before each) and stores it by TextCharPos: position
// 1 replaces the content of ExamSamples, a later position that of ExamCharSamples.
// A character is made once for the same unit, tone, rate, tone quality and volume
// and copied afterwards: an exam sends the same few dozen characters thousands of
// times. The element buffers are then left as they are.
void BuildExamSamples(int row, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate);

// Appends 4 units of silence to ExamSamples: with the next character's 3 units,
// the 7-unit word space.
void AppendWordGap(std::int16_t unitMs, std::int32_t sampleRate);

// The row of a MorseCodeTable key ("A", "訂正", "ホレ", ...); 0 for none.
int MorseRowOfKey(QStringView key);
