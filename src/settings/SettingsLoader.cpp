#include "settings/SettingsLoader.h"

#include "dialogs/dialogMogisikenTxt.h"
#include "keypad/KeypadRules.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "practice/frmMain.h"
#include "settings/AlphabetLayout.h"
#include "settings/SharedSettings.h"
#include "synthesis/SoundBank.h"

using platform::ignoreErrors;

// Until settings are stored, every start is a new learner's first start: the
// Latin layout, Wave sound at 16000 samples per second, the design values.
void LoadSettings()
{
    FrmMain& f = frmMain();
    ignoreErrors([&] { LayOutMainWindowForAlphabet(); });
    ignoreErrors([&] { FillExamKindList(); });
    ignoreErrors([&] {
        f.mnuSoundWave.setChecked(true);
        f.mnuSoundBeep.setChecked(false);
    });
    WaveSampleRate = 16000;
    ignoreErrors([] { dialogMogisikenTxt(); });
    ignoreErrors([] { platform::createFolder(platform::besideProgram(QStringLiteral("sound"))); });
    ignoreErrors([] { ApplyModeToKeypads(); });
}

void ReloadSettingsForAlphabet()
{
    FrmMain& f = frmMain();
    ignoreErrors([&] {
        f.Label1.setCaption(QString());
        f.Label2.setCaption(QString());
        f.Label4.setCaption(QString());
    });
    ignoreErrors([&] { f.comboMogisikenMode.clear(); });
    ignoreErrors([&] { LayOutMainWindowForAlphabet(); });
    ignoreErrors([&] { FillExamKindList(); });
    ignoreErrors([] { ApplyModeToKeypads(); });
    ignoreErrors([] { dialogMogisikenTxt(); });
    ignoreErrors([&] {
        std::int16_t tone = 0;
        ignoreErrors([&] { tone = platform::textToInt16(f.textToneFreq.text()); });
        BuildSoundBank(f.textCwSpeed.text(), tone, WaveSampleRate);
    });
}

void SaveMainSettings() {}
