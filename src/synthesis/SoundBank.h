#pragma once
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

// The in-memory sound bank: one complete WAV image per character of the
// alphabet in use, played from memory by the live players.
extern std::array<QByteArray, 49> LatinCharWave;
extern std::array<QByteArray, 69> KanaCharWave;
// The speed text and tone the bank was last built for ("" = never built).
extern QString SoundBankSpeedText;
extern QString SoundBankFreqText;

// Whether the bank was built for the alphabet in use. The sample rate is no part
// of what the bank must match (each image plays at the rate it was built at).
bool SoundBankHoldsAlphabet();

// The progress bar after entry i of a pass of n entries: the tenths reached, 10
// at the end, 0 (bar not set) below the first tenth.
int SoundBankProgressAfter(int i, int n);

// Rebuilds the bank for the alphabet in use, when the Wave sound is chosen.
void BuildSoundBank(const QString& speedText, std::int16_t toneHz, std::int32_t sampleRate);

// Whether a rebuild is under way. Its writers wait, and events then run nested
// inside it while part of the bank is old and part new.
bool SoundBankBuilding();

// Runs fn from the event loop once the rebuild under way has ended: a press that
// would sound from the bank waits for it, and then decides about its own rebuild.
// The presses that waited are taken up one at a time, in the order they were
// made, each once the one before has returned and no WaitingPressesHold lives:
// every character pressed sounds whole, in turn.
void AfterSoundBankBuilt(std::function<void()> fn);

// Ends the wait of every press that waits for the bank: Esc in code check, and a
// run that begins (the presses were made for the panel it now holds).
void DropWaitingPresses();

// While one lives, the presses that wait for the bank wait on: a code-check
// repetition that was sounding, or whose own rebuild it was, ends first.
class WaitingPressesHold {
public:
    WaitingPressesHold();
    ~WaitingPressesHold();
    WaitingPressesHold(const WaitingPressesHold&) = delete;
    WaitingPressesHold& operator=(const WaitingPressesHold&) = delete;
};
