#pragma once
#include <QString>
#include <array>
#include <cstdint>

// The registered exam texts, ten slots 0..9 per alphabet, and what the exam-text
// dialog shares with the run driver and the exam generators. Flags are 16-bit:
// -1 true, 0 false.

// Paths of the registered texts; "" is a free slot.
extern std::array<QString, 10> LatinExamTextPath;
extern std::array<QString, 10> KanaExamTextPath;
// -1: the slot takes part in the random draw (its tick box is set).
extern std::array<std::int16_t, 10> LatinExamTextEnabled;
extern std::array<std::int16_t, 10> KanaExamTextEnabled;
// 1: drawn in the current cycle of the random draw.
extern std::array<std::int16_t, 10> LatinExamTextDrawn;
extern std::array<std::int16_t, 10> KanaExamTextDrawn;
// -1: the learner picked the slot in the dialog.
extern std::array<std::int16_t, 10> LatinExamTextPicked;
extern std::array<std::int16_t, 10> KanaExamTextPicked;
// 1 draw at random, 2 pick at exam time.
extern std::int16_t LatinExamTextSelectMode;
extern std::int16_t KanaExamTextSelectMode;
// The slot of the current run's exam text.
extern std::int16_t LatinExamTextSlot;
extern std::int16_t KanaExamTextSlot;
// -1: the start and end signs go around a registered text. Defined with the
// recordings' cache key (material/ExamWaveCache.cpp), which holds the flag too.
extern std::int16_t LatinAutoStartEnd;
extern std::int16_t KanaAutoStartEnd;
// -1: the dialog was closed with its "OK" button.
extern std::int16_t ExamTextDialogOk;
