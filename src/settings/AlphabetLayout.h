#pragma once
#include "platform/forms/forms.h"

#include <array>

class FrmMain;

// Lays the main window out for the alphabet in use (size, keypad frames, the
// visible range menu) and fills the exam-kind list.
void LayOutMainWindowForAlphabet();
void FillExamKindList();

// The Latin range items in table order ("A～E" .. "ユーザー指定文字") and the key each
// is saved under ("AtoE" .. "User": the picker name without "Limit_").
std::array<forms::Menu*, 13> LatinRangeItems(FrmMain& f);
QString LatinRangeKey(std::size_t row);
// The practice-mode options in mode order 1..4.
std::array<forms::OptionButton*, 4> ModeOptions(FrmMain& f);
