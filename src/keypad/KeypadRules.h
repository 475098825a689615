#pragma once
#include <cstdint>

// Brings the answer keys and the panel controls the mode handlers leave to it into
// line with the practice mode, exam kind, alphabet and range.
void ApplyModeToKeypads();

class FrmMain;
// The practice modes that draw their characters from the range: single-character
// receive, listen-through, and the mock exam with exam kind 0 or 1.
bool InRangeMode(FrmMain& f);
// The mock exam with exam kind 2 or 3, where no key answers.
bool InTextExamMode(FrmMain& f);
