#pragma once
#include <array>
#include <cstdint>

// The user-chosen character sets: element i holds i when character i is chosen,
// 0 when it is not. Any other value (a damaged or hand-edited file) is neither:
// no click, registration or blink changes it, and no run draws or counts it.
extern std::array<std::int16_t, 49> LatinUserChosen;
extern std::array<std::int16_t, 69> KanaUserChosen;
// Counted by the run driver at Start while the set of its alphabet is in force.
extern std::int16_t LatinUserChosenCount;
extern std::int16_t KanaUserChosenCount;

inline bool IsLatinUserChosen(int i) { return i >= 1 && i <= 48 && LatinUserChosen[i] == i; }
inline bool IsKanaUserChosen(int i) { return i >= 1 && i <= 68 && KanaUserChosen[i] == i; }
inline bool IsLatinUserUnchosen(int i) { return i >= 1 && i <= 48 && LatinUserChosen[i] == 0; }
inline bool IsKanaUserUnchosen(int i) { return i >= 1 && i <= 68 && KanaUserChosen[i] == 0; }
// A registration of character i: a chosen one is removed, an unchosen one added
// when adding is allowed, any other value kept.
void ToggleUserChosenEntry(std::int16_t& element, std::int16_t i, bool mayAdd);
std::int16_t CountLatinUserChosen();
std::int16_t CountKanaUserChosen();
