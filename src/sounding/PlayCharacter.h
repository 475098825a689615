#pragma once
#include <QString>
#include <cstdint>

// The code-check player: sounds one character or sign play-count times, gapUnits
// units apart, showing it in the main window's character label.
void PlayCharacter(const QString& text, const QString& speedText, std::int16_t toneHz, std::int32_t sampleRate,
    std::int16_t playCount, std::int16_t gapUnits);
