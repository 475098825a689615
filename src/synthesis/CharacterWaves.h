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

// Writes the file of row 1..72 and hands back its bytes in image, set before the
// file is written: a caller that keeps the sound in memory has it also when the
// folder cannot be written (the failure still passes on, and the writer does not
// wait). The writers of ".", ",", "/", "-", "+" and "ホレ" wait 3 units times
// CodeIntervalFactor after writing, yielding to the event loop.
void WriteCharacterWave(int row, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate,
                        QByteArray& image);
