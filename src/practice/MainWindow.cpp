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

#include <cstdio>
#include <memory>
#include <utility>

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

// A number box the learner is still editing may hold no number (emptied, or a
// paste) when the window closes or the alphabet is switched; it is settled as
// leaving it would settle it, so the save has a value to store.
void settleNumberBoxes(FrmMain& f)
{
    const std::pair<TextBox*, void (FrmMain::*)()> boxes[] = {
        {&f.textToneFreq, &FrmMain::textToneFreq_LostFocus},
        {&f.textCwSpeed, &FrmMain::textCwSpeed_LostFocus},
        {&f.textReceiveTime, &FrmMain::textReceiveTime_LostFocus},
    };
    for (const auto& [box, settle] : boxes)
        if (!platform::ignoreErrors([b = box] { platform::textToInt16(b->text()); }))
            (f.*settle)();
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
    // The learner asked to leave: a save that cannot be written does not keep the
    // program open; standard error says why.
    try {
        settleNumberBoxes(frmMain());
        SaveMainSettings();
    } catch (const platform::Failure& failure) {
        std::fprintf(stderr, "quenlo: the settings were not saved: %s\n", failure.what());
    }
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
    settleNumberBoxes(*this);
    SaveMainSettings(); // when it fails, the switch does not happen
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
