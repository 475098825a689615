#pragma once
#include <cstdint>

// The Latin key map of the keyboard handler: the LatinCharTable index 1..48 a key
// code stands for (small letters as capitals, Backspace as the error sign), 0 for
// every other code. Esc is no character; only the answer keys give it a meaning.
std::int16_t LatinKeyIndex(int keyAscii);
