// The keypad rules: which answer keys, range menu and panel controls can be used
// for the practice mode, exam kind, alphabet and range in force.
#include "keypad/KeypadRules.h"

#include "keypad/RangeMenus.h"
#include "keypad/RangeTables.h"
#include "practice/QuenModule.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"

using namespace forms;

bool InRangeMode(FrmMain& f)
{
    const int kind = f.comboMogisikenMode.listIndex();
    return f.optionKikitoriMode.value() || f.optionKikinagashiMode.value()
        || (f.optionMogisikenMode.value() && (kind == 0 || kind == 1));
}

bool InTextExamMode(FrmMain& f)
{
    const int kind = f.comboMogisikenMode.listIndex();
    return f.optionMogisikenMode.value() && (kind == 2 || kind == 3);
}

namespace {
void enableAll(const ControlArray<CommandButton>& keys, bool on)
{
    keys.forEach([on](CommandButton& b) { b.setEnabled(on); });
}

// Code check has no run: everything that starts or steers one is off.
void codeCheckPanel(FrmMain& f)
{
    f.comboMogisikenMode.setEnabled(false);
    f.StartButton_Command.setEnabled(false);
    f.StopButton_Command.setEnabled(false);
    f.KaitoupassButton_Command.setEnabled(false);
    f.SetReceiveTimeGroup(false);
}

void applyLatin(FrmMain& f)
{
    if (f.optionKakuninMode.value()) {
        enableAll(f.LatinButton, true);
        f.mnuMojihanni.setEnabled(false);
        codeCheckPanel(f);
        f.upDownLimitKikitoriMode.setEnabled(false);
        return;
    }
    f.mnuMojihanni.setEnabled(InRangeMode(f));
    if (InTextExamMode(f)) {
        enableAll(f.LatinButton, false);
        if (f.comboMogisikenMode.listIndex() == 3)
            f.SetReceiveTimeGroup(false);
        return;
    }
    const int row = CheckedLatinRangeRow();
    if (row >= 1 && row <= 11) {
        for (int i = 1; i <= LatinCharCount; ++i)
            f.LatinButton(i).setEnabled(LatinRangeHasKey(row, i));
    } else if (row == 12 || row == 13) {
        // Every character can come, so typing answers is offered too.
        enableAll(f.LatinButton, true);
        f.SetTypeKeyTrio(true);
        f.checkTypeKey.setValue(1);
    }
}

// Outside a run the range menu and the exam-kind list are the learner's.
void followStart(FrmMain& f)
{
    if (f.StartButton_Command.enabled()) {
        f.mnuMojihanniWabun.setEnabled(true);
        f.comboMogisikenMode.setLocked(false);
    } else {
        f.mnuMojihanniWabun.setEnabled(false);
    }
}

void applyKana(FrmMain& f)
{
    const int kind = f.comboMogisikenMode.listIndex();
    std::int16_t checked = 0;
    if (f.optionKakuninMode.value()) {
        enableAll(f.ButtonJp, true);
        codeCheckPanel(f);
        f.mnuMojihanniWabun.setEnabled(false);
        f.checkExceptDakutenHandakuten.setEnabled(false);
        return;
    }
    f.mnuMojihanniWabun.setEnabled(InRangeMode(f));
    if (InTextExamMode(f)) {
        f.SetReceiveTimeGroup(true);
        f.KaitoupassButton_Command.setCaption(QStringLiteral("登録・編集"));
        f.KaitoupassButton_Command.setEnabled(true);
        f.mnuMojihanniWabun.setEnabled(false);
        if (kind == 3)
            f.SetReceiveTimeGroup(false);
        enableAll(f.ButtonJp, false);
        f.timerUserChoseJpLetters.setEnabled(false);
        return;
    }
    if (f.optionKikitoriMode.value() || f.optionKikinagashiMode.value()) {
        followStart(f);
        ApplyKanaRange(checked);
        return;
    }
    if (f.optionMogisikenMode.value()) {
        followStart(f);
        if (kind == 0 || kind == 1) {
            f.KaitoupassButton_Command.setEnabled(false);
            f.timerUserChoseJpLetters.setEnabled(f.mnuMojihanniWabun_Hani(KanaUserRangeRow).checked());
            f.SetReceiveTimeGroup(true);
            f.mnuMojihanniWabun.setEnabled(true);
            ApplyKanaRange(checked);
        }
    }
}
} // namespace

void ApplyModeToKeypads()
{
    FrmMain& f = frmMain();
    if (f.optionKakuninMode.value() || f.optionKikitoriMode.value())
        f.SetTypeKeyTrio(true);
    else if (InTextExamMode(f) || !f.UserSetInForce())
        f.SetTypeKeyTrio(false);
    else
        f.SetTypeKeyTrio(true);

    if (AlphabetIsLatin == -1)
        applyLatin(f);
    else if (AlphabetIsLatin == 0)
        applyKana(f);
}
