#include "practice/frmExamAnswer.h"

#include "practice/RunState.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"

using namespace forms;

namespace {
// Every answer key of a keypad frame (the frames hold the keys and, for kana, the
// voiced-kana check box, which stays as it is).
void enableKeysOf(FrmMain& f, const Container& keypad)
{
    for (Control* c : f.controls())
        if (&c->container() == &keypad)
            if (auto* key = dynamic_cast<CommandButton*>(c))
                key->setEnabled(true);
}
} // namespace

FrmExamAnswer::FrmExamAnswer()
{
    setCaption(QStringLiteral("模擬試験解答"));
    setBorderStyle(Border::FixedSingle);
    setMinButton(false);
    setMaxButton(false);
    setClientSize(7590, 7365);

    richTextBoxExamAnswer.setFont(QStringLiteral("ＭＳ Ｐゴシック"), 15.75f, true);
    richTextBoxExamAnswer.move(120, 120, 7335, 6495);
    // The answer key is for reading; the learner compares, not edits.
    richTextBoxExamAnswer.setLocked(true);
    cmdClose.setCaption(QStringLiteral("閉じる"));
    cmdClose.move(3240, 6840, 1095, 375);

    onLoad = [this] { Form_Load(); };
    onQueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
    cmdClose.onClick = [this] { unload(); };
}

void FrmExamAnswer::Form_Load() { richTextBoxExamAnswer.setText(ExamAnswerText); }

void FrmExamAnswer::Form_QueryUnload(int&, int)
{
    FrmMain& f = frmMain();
    if (AlphabetIsLatin == -1 && f.mnuMojihanniUserChose.checked()) {
        f.timerUserChoseLetters.setEnabled(true);
        enableKeysOf(f, f.frameEngButton);
    } else if (AlphabetIsLatin == 0 && f.mnuMojihanniWabun_Hani(18).checked()) {
        f.timerUserChoseJpLetters.setEnabled(true);
        enableKeysOf(f, f.frameJpButton);
    }
    const int kind = f.comboMogisikenMode.listIndex();
    if ((kind == 0 || kind == 1) && AlphabetIsLatin == -1) {
        f.mnuMojihanni.setEnabled(true);
    } else if ((kind == 0 || kind == 1) && AlphabetIsLatin == 0) {
        f.mnuMojihanniWabun.setEnabled(true);
    } else if ((kind == 2 || kind == 3) && AlphabetIsLatin == -1) {
        f.timerUserChoseLetters.setEnabled(false);
        f.KaitoupassButton_Command.setEnabled(true);
    } else if ((kind == 2 || kind == 3) && AlphabetIsLatin == 0) {
        f.timerUserChoseJpLetters.setEnabled(false);
        f.KaitoupassButton_Command.setEnabled(true);
    }
    f.mnuChange.setEnabled(true);
}
