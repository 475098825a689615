#include "material/ExamWords.h"

#include "platform/failure.h"
#include "platform/text.h"
#include "practice/RunState.h"

#include <QRegularExpression>

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
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    // The last line may end at the end of the file: a break there starts no line.
    if (lines.last().isEmpty())
        lines.removeLast();
    // A blank line is an empty word and counts.
    for (qsizetype i = 0; i < lines.size() && i < ExamWordListSize; ++i)
        ExamWordList[++ExamWordCount] = lines[i];
    return ExamWordCount == 0 ? WordFileRead::Empty : WordFileRead::Ok;
}
