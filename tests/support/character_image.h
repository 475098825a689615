#pragma once
#include "synthesis/CharacterWaves.h"
#include "synthesis/MakeWaveHeader.h"

#include <QByteArray>
#include <cstdint>

// The bytes of a row's character file at the settings, built in memory without
// writing or waiting: what the sound bank must hold for it.
inline QByteArray characterImage(int row, std::int16_t unitMs, std::int16_t toneHz,
                                 std::int32_t sampleRate)
{
    return WaveImage(BuildCharacterSamples(row, unitMs, toneHz, sampleRate), sampleRate);
}
