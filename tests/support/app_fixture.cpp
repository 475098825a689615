#include "support/app_fixture.h"

#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "settings/SharedSettings.h"
#include "synthesis/SoundBank.h"

void AppFixture::SetUp()
{
    platform::setProgramFolder(dir_.path());
    platform::setProgramEnder([](int) { throw ProgramEnded(); });
    platform::setShellOpener([](const QString&) {});
    platform::resetRandom(12345);
    platform::sound().stop();
    platform::sound().enableLog();
    platform::sound().clearLog();
    forms::dialogs::reset();
    forms::dialogs::setScripted(true);
    AlphabetIsLatin = -1;
    WaveSampleRate = 16000;
    AnswerTimeLimitSec = 0;
    SoundBankSpeedText.clear();
    SoundBankFreqText.clear();
    LatinCharWave.fill({});
    KanaCharWave.fill({});
    ClearMissCounts();
}

void AppFixture::TearDown()
{
    forms::discardAll();
    platform::sound().stop();
    platform::setProgramEnder(nullptr);
    platform::setShellOpener(nullptr);
    platform::setProgramFolder(QString());
}
