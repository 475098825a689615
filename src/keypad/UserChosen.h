#pragma once
#include <array>
#include <cstdint>

// The user-chosen character sets: element i holds i when character i is chosen,
// else 0. A value that names another character counts as not chosen.
extern std::array<std::int16_t, 49> LatinUserChosen;
extern std::array<std::int16_t, 69> KanaUserChosen;
// Counted by the run driver at Start while the set of its alphabet is in force.
extern std::int16_t LatinUserChosenCount;
extern std::int16_t KanaUserChosenCount;

inline bool IsLatinUserChosen(int i) { return i >= 1 && i <= 48 && LatinUserChosen[i] == i; }
inline bool IsKanaUserChosen(int i) { return i >= 1 && i <= 68 && KanaUserChosen[i] == i; }
std::int16_t CountLatinUserChosen();
std::int16_t CountKanaUserChosen();
