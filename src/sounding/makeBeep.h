#pragma once
#include <QString>
#include <cstdint>

// The Beep road: every element sounded with the blocking tone call, the gaps
// waited with WaitMilliseconds (which yields), one routine for every code row.

// The caller's text for the symbol a Beep routine sounded last ("" at start).
extern QString LastBeepSymbol;

// Sounds Morse code row (1..72) element by element: dot and dash lengths in ms,
// one dot between elements, then the dash-length gap (or 7 dots with wordGap,
// which records nothing in LastBeepSymbol).
void BeepMorseRow(int row, const QString& name, std::int32_t dotMs, std::int32_t dashMs,
                  std::int32_t toneHz, bool wordGap = false);

// The members other code calls by name.
void BeepLetterH(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz);
void BeepLetterR(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz);
void BeepBTWordGap(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz);
void BeepHoreWordGap(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz);
void BeepAR(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz);
void BeepRata(const QString& name, std::int32_t dotMs, std::int32_t dashMs, std::int32_t toneHz);

// Sounds a whole text by the free-text reading rules (sounding/TextReading.h),
// testing StopRequested before every new position. Returns the text's length in
// UTF-16 code units, also when stopped part-way; an empty text shows "読み込む文字が
// 有りません｡" and gives 0.
int PlayTextBeep(const QString& text, std::int32_t dotMs, std::int32_t toneHz);
