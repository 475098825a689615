#pragma once
#include <QString>
#include <array>

// The words of the pseudo-text exam, 1..ExamWordCount (RunState.h), read from the
// chosen word file.
constexpr int ExamWordListSize = 50;
extern std::array<QString, ExamWordListSize + 1> ExamWordList;

enum class WordFileRead { Ok, Empty, Unreadable };

// Reads the words from the first 50 lines of a code page 932 word file into
// ExamWordList and sets ExamWordCount. A line ends at CR LF, CR or LF, and the
// last one may end at the end of the file; a blank line is an empty word.
// Unreadable (missing, unreadable, not code page 932) and Empty (no line) leave
// ExamWordList as it was and ExamWordCount at 0.
WordFileRead LoadExamWordList(const QString& path);
