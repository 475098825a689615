// The main window's life: start-up as a single instance, shutdown, the alphabet
// switch, the sound menu, the dialogs and the Help menu.
#include "practice/frmMain.h"

#include "dialogs/DialogFiles.h"
#include "dialogs/dialogMogisikenTxt.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOptions.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/process.h"
#include "platform/sound/sound_service.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLoader.h"
#include "settings/SettingsWriter.h"
#include "settings/SharedSettings.h"
#include "synthesis/SoundBank.h"

#include <cstdio>
#include <memory>
#include <utility>

using namespace forms;

namespace {
const QString onlineManualAddress = QStringLiteral("https://quenlo.example.org/manual/");
const QString hamInformationAddress = QStringLiteral("https://quenlo.example.org/ham-radio/");

// The unload mode of a close requested by the system (the session ends).
constexpr int endOfSessionMode = 2;

// Held for the life of the process; the kernel releases it when the process ends.
std::unique_ptr<platform::SingleInstance> instanceLock;
// The main window whose settings are loaded: until then a request to end loses nothing.
FrmMain* settingsHeldBy = nullptr;

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

// Saves the main window's settings; a file that cannot be written is said on
// standard error and, unless the system asked the program to end (no one may be
// there to click it), in a message box naming it. The result is false then.
bool saveMainSettingsOrSay(bool systemAsked = false)
{
    try {
        settleNumberBoxes(frmMain());
        SaveMainSettings();
        return true;
    } catch (const platform::Failure& failure) {
        std::fprintf(stderr, "quenlo: the settings were not saved: %s\n", failure.what());
        if (!systemAsked)
            ShowFileProblem(QStringLiteral("設定を保存できませんでした。次のファイルに書き込めません。\r\n")
                                + SettingsFile::defaultPath(),
                            QStringLiteral("ファイルエラー"));
        return false;
    }
}

void showCentredOnMain(Form& dialog)
{
    FrmMain& main = frmMain();
    dialog.centerOn(main);
    dialog.showModal();
}
} // namespace

void EndProgramSavingSettings(bool systemAsked)
{
    // A save that cannot be written is said, and does not keep the program open.
    saveMainSettingsOrSay(systemAsked);
    platform::sound().stop();
    platform::endProgram(0);
}

void ListenForEndRequests()
{
    // A request from the system takes the close box's road, save then end, except
    // that a save that fails shows no box: the end waits for no one. Before the main
    // window holds its settings there is nothing to save, and the program just ends.
    platform::onEndRequest([] {
        FrmMain* f = frmMain.ifLoaded();
        if (!f || f != settingsHeldBy)
            platform::endProgram(0);
        int cancel = 0;
        f->raise(f->onQueryUnload, cancel, endOfSessionMode);
    });
}

void FrmMain::Form_Load()
{
    settingsHeldBy = nullptr;
    instanceLock.reset(); // a window loaded again in the same process holds it already
    instanceLock = std::make_unique<platform::SingleInstance>(platform::programFolder());
    if (!instanceLock->acquired()) {
        MsgBox(QStringLiteral("既に起動されています"), vbOKOnly | vbCritical | vbSystemModal,
               QStringLiteral("Quenlo<Varneth>"));
        platform::endProgram(0); // touches nothing: no settings read or written
    }
    LoadSettings();
    settingsHeldBy = this;
    // Centred at the width of the stored alphabet's layout.
    centerOnScreen();
    BuildSoundBank(textCwSpeed.text(), toneOf(textToneFreq), WaveSampleRate);
}

void FrmMain::Form_QueryUnload(int&, int unloadMode) { EndProgramSavingSettings(unloadMode == endOfSessionMode); }

void FrmMain::mnuEnd_Click() { EndProgramSavingSettings(); }

void FrmMain::mnuChange_Click()
{
    // A save that fails keeps the alphabet in use: the other one's settings would
    // be loaded over settings that were never stored.
    if (!saveMainSettingsOrSay())
        return;
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
