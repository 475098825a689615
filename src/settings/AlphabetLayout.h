#pragma once
#include "platform/forms/forms.h"

#include <array>

class FrmMain;

// Lays the main window out for the alphabet in use (size, keypad frames, the
// visible range menu) and fills the exam-kind list.
void LayOutMainWindowForAlphabet();
void FillExamKindList();

// The practice-mode options in mode order 1..4.
std::array<forms::OptionButton*, 4> ModeOptions(FrmMain& f);
