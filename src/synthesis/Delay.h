#pragma once
#include <QString>
#include <cstdint>

// Morse timing: the unit from the speed text, and the wait that keeps the
// window responsive.

// Unit length in ms for a speed in characters per minute (the 50-unit word of
// five characters), in the original's single-precision steps; 0 when the text
// gives no usable speed.
std::int16_t ComputeUnitMs(const QString& speedText);

// Returns after at least ms milliseconds, handling every pending event on each
// turn; 0 or less returns at once without yielding.
void WaitMilliseconds(std::int32_t ms);

// The wait after a character of the given length in units starts playing from
// the sound bank: the 3-unit gap stretched by CodeIntervalFactor, the character,
// and extraMs, rounded once to whole milliseconds (halves to even).
std::int32_t WaveCharacterWaitMs(int units, std::int16_t unitMs, std::int32_t extraMs = 0);
