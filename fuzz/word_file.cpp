// A word file as the pseudo-text exam reads it.
#include "fuzz_target.h"

#include "material/ExamWords.h"
#include "platform/files.h"
#include "practice/RunState.h"

#include <QTemporaryDir>

QUENLO_FUZZ_INITIALIZE

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("words.txt"));
    platform::writeWholeFile(path, fuzz::bytes(data, size));
    if (LoadExamWordList(path) == WordFileRead::Ok) {
        // Every word the count promises is there to be drawn (at() throws past the list).
        for (int i = 1; i <= ExamWordCount; ++i)
            (void)ExamWordList.at(static_cast<std::size_t>(i)).size();
    }
    return 0;
}
