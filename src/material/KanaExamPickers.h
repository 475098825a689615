#pragma once
#include <QString>
#include <cstdint>

// The kana exam's own character table, KanaExamCharTable (1..93): every voiced
// and half-voiced kana is an entry of its own, sounded as its plain kana and the
// mark. Range 15 draws from its 83-entry variant, the kana and the marks only.

constexpr int KanaExamCharCount = 93;

// Entry e (1..93) of KanaExamCharTable as the Beep road names it ("ガ", "濁点",
// "ホレ") or as the exam text holds it for the compiler (beepRoad false: the
// signs in corner brackets, "「ホレ」", and the marks alone as "ﾞ" and "ﾟ").
QString KanaExamEntryText(int entry, bool beepRoad);
// KanaCharTable index of the kana an entry sounds first, and of the mark that
// follows it (49 濁点, 50 ﾟ, 0 none).
int KanaExamEntryKana(int entry);
int KanaExamEntryMark(int entry);

// The entry (1..93) drawn from kana range 1..18, reseeding first; 0 outside.
// beepRoad: the span of the sounding twin (ranges 15 and 16 can draw ラタ).
int DrawKanaExamEntry(int range, bool beepRoad);

// Draws one entry for a Wave exam's text; sounds nothing.
QString PickRandomExamKana(std::int16_t range);
// Draws one entry and sounds it by Beep (dot unit, dash 3 units); returns its text
// once it has sounded.
QString PlayRandomExamKanaBeep(std::int16_t range, std::int16_t unit, std::int16_t tone);
