#pragma once
#include <QString>
#include <cstdint>

// The sounding random pickers of single-character receive and listen-through:
// each draws one character of the range, makes it the sent character, sounds it
// (from the sound bank or by Beep), and in single-character receive mode arms the
// answer countdown once it has sounded. They return the character's text.

QString PlayRandomLatinWave(const QString& rangeName, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate);
QString PlayRandomKanaWave(std::int16_t range, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate);
QString PlayRandomLatinBeep(const QString& rangeName, std::int16_t unitMs, std::int16_t toneHz);
QString PlayRandomKanaBeep(std::int16_t range, std::int16_t unitMs, std::int16_t toneHz);
