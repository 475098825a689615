#pragma once
#include <QString>
#include <cstdint>

class FrmMain;

// The three duties of an answer key, shared by the on-screen keys and the keyboard.

// Code check: sounds text with the main window's speed and tone and the options
// dialog's play count and gap, then empties the character label. A tone, count or
// gap box that holds no 16-bit number sounds nothing.
void PlayCodeCheckCharacter(const QString& text);

// Takes text as the answer to the open single-character question and judges it
// against SentChar. Only the first answer to a question counts: while QuestionOpen
// is not -1 nothing happens.
void JudgeLatinAnswer(const QString& text);
void JudgeKanaAnswer(const QString& text);

// Marks or unmarks entry index of the user-chosen set while no run is going.
// Marking needs the set's range item checked; a Latin entry can be unmarked under
// any range, a kana entry only under its own. Indexes outside the table do nothing.
void ToggleLatinUserChosen(std::int16_t index);
void ToggleKanaUserChosen(std::int16_t index);

// The displays of a judged answer. Right: the label goes blank in red for at least
// 80 ms, then shows the circle, and the count goes up. Wrong: the sent character
// in black.
void ShowRightAnswer(FrmMain& f);
void ShowWrongAnswer(FrmMain& f);
