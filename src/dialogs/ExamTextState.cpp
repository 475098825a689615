#include "dialogs/ExamTextState.h"

std::array<QString, 10> LatinExamTextPath;
std::array<QString, 10> KanaExamTextPath;
std::array<std::int16_t, 10> LatinExamTextEnabled{};
std::array<std::int16_t, 10> KanaExamTextEnabled{};
std::array<std::int16_t, 10> LatinExamTextDrawn{};
std::array<std::int16_t, 10> KanaExamTextDrawn{};
std::array<std::int16_t, 10> LatinExamTextPicked{};
std::array<std::int16_t, 10> KanaExamTextPicked{};
// The dialog's design selects the random draw.
std::int16_t LatinExamTextSelectMode = 1;
std::int16_t KanaExamTextSelectMode = 1;
std::int16_t LatinExamTextSlot = 0;
std::int16_t KanaExamTextSlot = 0;
std::int16_t ExamTextDialogOk = 0;
