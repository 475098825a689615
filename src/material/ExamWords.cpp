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
    const QStringList lines = text.split(lineBreak);
    QStringList words;
    for (qsizetype i = 0; i < lines.size() && i < ExamWordListSize; ++i)
        if (!lines[i].isEmpty())
            words << lines[i];
    if (words.isEmpty())
        return WordFileRead::Empty;
    for (const QString& w : words)
        ExamWordList[++ExamWordCount] = w;
    return WordFileRead::Ok;
}
