#pragma once
#include "synthesis/ToneSynthesis.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// The character WAV writers: one routine for every row of MorseCodeTable. A
// writer synthesises the row's code (a unit of silence before every element,
// nothing after the last) and writes it to sound/<stem>.wav beside the program.
// Failures throw platform::Failure; an element that cannot be built fails before
// the file is touched.

// Rebuilds the elements the row's code uses and joins them in sending order into
// the buffer of the first element (DotSamples or DashSamples), which it returns.
SampleBuffer& BuildCharacterSamples(int row, std::int16_t unitMs, std::int16_t toneHz,
                                    std::int32_t sampleRate);

// The file of row 1..72.
QString CharacterWavePath(int row);

// Writes the file of row 1..72. The writers of ".", ",", "/", "-", "+" and "ホレ"
// then wait 3 units times CodeIntervalFactor, yielding to the event loop.
void WriteCharacterWave(int row, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate);

// The bytes the row's file would hold, built in memory without writing or waiting.
QByteArray CharacterWaveImage(int row, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate);

// The second half of WriteCharacterWave: writes an image CharacterWaveImage built
// for the row and unit, then waits as the row's writer does.
void WriteCharacterWaveImage(int row, const QByteArray& image, std::int16_t unitMs);
