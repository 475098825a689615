#pragma once

// Lays the main window out for the alphabet in use (size, keypad frames, the
// visible range menu) and fills the exam-kind list.
void LayOutMainWindowForAlphabet();
void FillExamKindList();
