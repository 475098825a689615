#pragma once
#include <cstdint>

// Brings the answer keys and the panel controls the mode handlers leave to it into
// line with the practice mode, exam kind, alphabet and range.
void ApplyModeToKeypads();
// Checks kana range index (0 = the first checked item, written back) and lays
// the kana keypad out for it.
void ApplyKanaRange(std::int16_t& index);
