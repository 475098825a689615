#include "material/ExamWords.h"

#include "platform/failure.h"
#include "platform/text.h"
#include "practice/RunState.h"

std::array<QString, ExamWordListSize + 1> ExamWordList;

WordFileRead LoadExamWordList(const QString& path)
{
    ExamWordCount = 0;
    QString text;
    try {
        text = platform::readTextFileCp932(path);
    } catch (const platform::Failure&) {
        return WordFileRead::Unreadable;
    }
    // A line ends at CR LF, CR or LF; the last one may end at the end of the file,
    // so a break there starts no line. A blank line is an empty word and counts.
    const qsizetype n = text.size();
    for (qsizetype at = 0; at < n && ExamWordCount < ExamWordListSize;) {
        qsizetype end = at;
        while (end < n && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        ExamWordList[++ExamWordCount] = text.mid(at, end - at);
        at = end + (end + 1 < n && text[end] == QLatin1Char('\r') && text[end + 1] == QLatin1Char('\n') ? 2 : 1);
    }
    return ExamWordCount == 0 ? WordFileRead::Empty : WordFileRead::Ok;
}
