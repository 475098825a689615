// Stop and the end of a run.
#include "practice/frmMain.h"

#include "keypad/KeypadRules.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "platform/sound/sound_service.h"
#include "practice/RunState.h"
#include "practice/frmKikitoriResult.h"
#include "settings/SharedSettings.h"

#include <QRegularExpression>

using namespace forms;

namespace {
bool isWholeNumber(const QString& text)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
    return whole.match(text).hasMatch();
}
} // namespace

void FrmMain::StopButton_Command_Click()
{
    // The countdown stops before anything else: it must not time out a question
    // of a stopped run while the results are shown.
    timerLimitKikitoriMode.setEnabled(false);
    mnuChange.setEnabled(true);
    GiveBackStart();
    EndPracticeRun();
    if (optionKikitoriMode.value()) {
        timerLimitKikitoriMode.setEnabled(false);
        textLimitKikitoriMode.setText(platform::numberText(AnswerTimeLimitSec));
        upDownLimitKikitoriMode.setEnabled(true);
    }
}

void FrmMain::StopButton_Command_MouseUp()
{
    if (AlphabetIsLatin == -1 && mnuMojihanniUserChose.checked())
        timerUserChoseLetters.setEnabled(true);
    else if (AlphabetIsLatin == 0 && mnuMojihanniWabun_Hani(18).checked())
        timerUserChoseJpLetters.setEnabled(true);
}

void FrmMain::GiveBackToneAndSpeed()
{
    textToneFreq.setLocked(false);
    upDownToneFreq.setEnabled(true);
    for (OptionButton* o : {&optionSpeed25, &optionSpeed45, &optionSpeed60, &optionSpeed80})
        o->setEnabled(true);
    textCwSpeed.setLocked(false);
    upDownSpeed.setEnabled(true);
}

void FrmMain::GiveBackRunControls()
{
    mnuChange.setEnabled(true);
    GiveBackStart();
    for (OptionButton* o : {&optionKakuninMode, &optionKikitoriMode, &optionKikinagashiMode, &optionMogisikenMode})
        o->setEnabled(true);
    GiveBackToneAndSpeed();
}

void FrmMain::GiveBackExamControls()
{
    GiveBackRunControls();
    comboMogisikenMode.setLocked(false);
    textReceiveTime.setLocked(false);
    upDownReceiveTime.setEnabled(true);
}

void EndPracticeRun()
{
    FrmMain& f = frmMain();
    StopRequested = -1;
    // The open question is closed; it was asked only if it had been counted.
    const bool askedButUnanswered = question::close();

    f.GiveBackRunControls();

    const bool mockExam = f.optionMogisikenMode.value();
    const int kind = f.comboMogisikenMode.listIndex();
    if (f.optionKikitoriMode.value() || f.optionKikinagashiMode.value() || (mockExam && (kind == 0 || kind == 1))) {
        if (AlphabetIsLatin == -1)
            f.mnuMojihanni.setEnabled(true);
        else if (AlphabetIsLatin == 0)
            f.mnuMojihanniWabun.setEnabled(true);
    } else if (mockExam && kind == 3) {
        f.comboMogisikenMode.setLocked(false);
    }

    if (f.optionKikitoriMode.value()) {
        if (f.Label4.caption().isEmpty())
            return;
        if (isWholeNumber(f.Label4.caption()) && isWholeNumber(f.Label2.caption())) {
            if (askedButUnanswered)
                f.Label4.setCaption(platform::numberText(AskedCount - 1));
            const QString asked = f.Label4.caption();
            if (asked != QLatin1String("0") && asked != QLatin1String("-1")) {
                FrmKikitoriResult& r = frmKikitoriResult();
                r.centerOn(f);
                r.showModal();
            }
        }
    }

    if (mockExam) {
        platform::ignoreErrors([] { platform::sound().stop(); });
        platform::ignoreErrors([] { ApplyModeToKeypads(); });
        return;
    }
    ApplyModeToKeypads();
}
