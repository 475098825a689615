#pragma once
#include <QString>
#include <cstdint>

// The code-check player: sounds one character or sign play-count times, from the
// sound bank (Wave) or with its Beep routine, gapUnits units apart, until Esc.

// -1 while PlayCharacter repeats a character (at any nesting depth).
extern std::int16_t CodeCheckPlaying;
// -1: stop the repetitions at the next test (Esc in code-check mode). It stops
// the calls running when it was raised; a call that starts later plays.
extern std::int16_t CodeCheckStopRequested;

// Whether a character is repeating that no Esc has stopped yet. A stopped call may
// still be in its last wait, with CodeCheckPlaying -1.
bool CodeCheckRepeating();

void PlayCharacter(const QString& text, const QString& speedText, std::int16_t toneHz, std::int32_t sampleRate,
                   std::int16_t playCount, std::int16_t gapUnits);

// The Morse row that sounds text in the alphabet in use, 0 for a text no row
// accepts; image receives the bank image that plays it.
int CodeCheckRow(const QString& text, const QByteArray** image = nullptr);
