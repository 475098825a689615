#pragma once
#include <cstdint>

// Checks kana range index (0 = the first checked item, written back) and lays
// the kana keypad out for it; an index outside 1..18 leaves every kana key off.
void ApplyKanaRange(std::int16_t& index);
