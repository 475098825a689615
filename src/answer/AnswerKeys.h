#pragma once
#include <QString>
#include <cstdint>

// The three duties of an answer key, shared by the on-screen keys and the keyboard.

// Code check: sounds text with the main window's speed and tone and the options
// dialog's play count and gap, then empties the character label. A tone, count or
// gap box that holds no 16-bit number sounds nothing.
void PlayCodeCheckCharacter(const QString& text);

// Takes text as the answer to the open single-character question (question::answer).
// Only the first answer to a question counts: while none is open nothing happens.
// The kana keys then give the focus to the receive-mode option.
void JudgeLatinAnswer(const QString& text);
void JudgeKanaAnswer(const QString& text);

// Marks or unmarks entry index of the user-chosen set while no run is going.
// Marking needs the set's range item checked; a Latin entry can be unmarked under
// any range, a kana entry only under its own. Indexes outside the table do nothing.
void ToggleLatinUserChosen(std::int16_t index);
void ToggleKanaUserChosen(std::int16_t index);
