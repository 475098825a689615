// The main window's life: start-up as a single instance, shutdown, the alphabet
// switch, the sound menu, the dialogs and the Help menu.
#include "practice/frmMain.h"

#include "dialogs/dialogMogisikenTxt.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOptions.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/process.h"
#include "platform/sound/sound_service.h"
#include "settings/SettingsLoader.h"
#include "settings/SharedSettings.h"
#include "synthesis/SoundBank.h"

#include <memory>

using namespace forms;

namespace {
const QString onlineManualAddress = QStringLiteral("https://quenlo.example.org/manual/");
const QString hamInformationAddress = QStringLiteral("https://quenlo.example.org/ham-radio/");

// Held for the life of the process; the kernel releases it when the process ends.
std::unique_ptr<platform::SingleInstance> instanceLock;

// The tone box as a 16-bit number; a text that is no number counts as 0.
std::int16_t toneOf(const TextBox& box)
{
    std::int16_t tone = 0;
    platform::ignoreErrors([&] { tone = platform::textToInt16(box.text()); });
    return tone;
}

void showCentredOnMain(Form& dialog)
{
    FrmMain& main = frmMain();
    dialog.centerOn(main);
    dialog.showModal();
}
} // namespace

void EndProgramSavingSettings()
{
    SaveMainSettings();
    platform::sound().stop();
    platform::endProgram(0);
}

void FrmMain::Form_Load()
{
    instanceLock.reset(); // a window loaded again in the same process holds it already
    instanceLock = std::make_unique<platform::SingleInstance>(platform::programFolder());
    if (!instanceLock->acquired()) {
        MsgBox(QStringLiteral("既に起動されています"), vbOKOnly | vbCritical | vbSystemModal,
               QStringLiteral("Quenlo<Varneth>"));
        platform::endProgram(0); // touches nothing: no settings read or written
    }
    LoadSettings();
    BuildSoundBank(textCwSpeed.text(), toneOf(textToneFreq), WaveSampleRate);
}

void FrmMain::Form_QueryUnload(int&, int) { EndProgramSavingSettings(); }

void FrmMain::mnuEnd_Click() { EndProgramSavingSettings(); }

void FrmMain::mnuChange_Click()
{
    SaveMainSettings();
    dialogMogisikenTxt.unload();
    AlphabetIsLatin = AlphabetIsLatin == 0 ? -1 : 0;
    ReloadSettingsForAlphabet();
}

void FrmMain::mnuSoundWave_Click()
{
    mnuSoundWave.setChecked(true);
    mnuSoundBeep.setChecked(false);
}

void FrmMain::mnuSoundBeep_Click()
{
    mnuSoundBeep.setChecked(true);
    mnuSoundWave.setChecked(false);
}

void FrmMain::mnuOptions_Click() { showCentredOnMain(frmOptions()); }

void FrmMain::mnuHelpAbout_Click() { showCentredOnMain(frmAbout()); }

void FrmMain::mnuHelpReadme_Click() { platform::shellOpen(platform::besideProgram(QStringLiteral("ReadMe.txt"))); }

void FrmMain::mnuHelpOnlineManual_Click() { platform::shellOpen(onlineManualAddress); }

void FrmMain::mnuHelpGoHamWeb_Click() { platform::shellOpen(hamInformationAddress); }

void FrmMain::Form_Resize() { frameControl.setLeft((width() - frameControl.width()) / 2); }
