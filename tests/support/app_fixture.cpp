#include "support/app_fixture.h"

#include <QDir>
#include <QFile>

#include "keypad/UserChosen.h"
#include "material/ExamWaveCache.h"
#include "practice/QuenModule.h"
#include "practice/frmMain.h"
#include "practice/RunState.h"
#include "settings/ExamWaveKeyFile.h"
#include "settings/SharedSettings.h"
#include "synthesis/SoundBank.h"

AppFixture::AppFixture()
{
    previous_ = platform::programFolder();
    platform::setProgramFolder(dir_.path());
    for (const QString& name : QDir(QStringLiteral(QUENLO_ASSETS_DIR)).entryList(QDir::Files))
        QFile::copy(QStringLiteral(QUENLO_ASSETS_DIR "/") + name, dir_.filePath(name));
    platform::setProgramEnder([](int) { throw ProgramEnded(); });
    platform::setShellOpener([](const QString&) {});
    platform::resetRandom(12345);
    platform::sound().stop();
    platform::sound().enableLog();
    platform::sound().clearLog();
    forms::dialogs::reset();
    forms::dialogs::setScripted(true);
    // The exam recordings' keys live in the settings file, as the program keeps them.
    setExamWaveKeyStore(std::make_unique<SettingsExamWaveKeyStore>());
    AlphabetIsLatin = -1;
    WaveSampleRate = 16000;
    AnswerTimeLimitSec = 0;
    SoundBankSpeedText.clear();
    SoundBankFreqText.clear();
    LatinCharWave.fill({});
    KanaCharWave.fill({});
    ClearMissCounts();
    StopRequested = 0;
    QuestionOpen = 0;
    QuestionCounted = 0;
    AnswerChar.clear();
    SentChar.clear();
    MissListCount = 0;
    AskedCount = 0;
    LatinUserChosen.fill(0);
    KanaUserChosen.fill(0);
    LatinUserChosenCount = 0;
    KanaUserChosenCount = 0;
    CorrectCount = 0;
    UnitMs = 0;
}

void AppFixture::TearDown()
{
    platform::onEndRequest(nullptr);
    forms::discardAll();
    platform::sound().stop();
    platform::setProgramEnder(nullptr);
    platform::setShellOpener(nullptr);
    setExamWaveKeyStore(nullptr);
    platform::setProgramFolder(previous_);
}

FrmMain& AppFixture::shownMain()
{
    FrmMain& f = frmMain();
    f.show();
    return f;
}

void AppFixture::every10ms(std::function<bool()> step)
{
    clock().callAfter(10, [this, step] {
        if (step())
            every10ms(step);
    });
}
