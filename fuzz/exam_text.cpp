// An exam text file as the mock exam reads it: loaded into the exam-text editor
// (code page 932), then compiled into a recording and sounded by the Beep text
// player. The first input byte picks the alphabet in use (low bit set: kana), the
// rest is the file.
#include "fuzz_target.h"

#include "dialogs/dialogMogisikenTxt.h"
#include "material/ExamWaveCompiler.h"
#include "platform/files.h"
#include "practice/RunState.h"
#include "settings/SharedSettings.h"
#include "sounding/makeBeep.h"
#include "support/app_fixture.h"

namespace {

class ProgramFolder : public AppFixture {
public:
    void TestBody() override {}

    void run(const QByteArray& input)
    {
        SetUp();
        struct Down {
            ProgramFolder& p;
            ~Down() { p.TearDown(); }
        } down{*this};
        if (input.isEmpty())
            return;
        AlphabetIsLatin = (input[0] & 1) ? 0 : -1;
        const QString path = platform::joinPath(folder(), QStringLiteral("exam.txt"));
        platform::writeWholeFile(path, input.mid(1));
        platform::createFolder(platform::besideProgram(QStringLiteral("sound")));
        try {
            forms::TextEditor& editor = dialogMogisikenTxt().richTextBoxEdit;
            if (!editor.loadFile(path))
                return;
            const QString text = editor.text();
            BuildAndPlayExamWave(99, text, 100, 800, 8000, 0);
            PlayTextBeep(text, 12, 800);
        } catch (const ProgramEnded&) {
        }
    }
};

} // namespace

QUENLO_FUZZ_INITIALIZE

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ProgramFolder().run(fuzz::bytes(data, size));
    return 0;
}
