// Steering a run while it goes on: the answer pass, the answer countdown, the
// end-of-playback poll and the answer-limit spinner.
#include "practice/frmMain.h"

#include "dialogs/dialogMogisikenTxt.h"
#include "dialogs/frmOptions.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/sound/sound_service.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmExamAnswer.h"
#include "settings/SharedSettings.h"

using namespace forms;

void FrmMain::KaitoupassButton_Command_Click()
{
    const QString caption = KaitoupassButton_Command.caption();
    if (caption == QStringLiteral("解答パス")) {
        if (optionKikitoriMode.value())
            question::giveUp();
        return;
    }
    if (caption != QStringLiteral("登録・編集") || !optionMogisikenMode.value())
        return;
    const int kind = comboMogisikenMode.listIndex();
    if (kind == 2) {
        FrmOptions& o = frmOptions();
        o.centerOn(*this);
        o.tbsOptions.selectTab(2);
        o.showModal();
    } else if (kind == 3) {
        DialogMogisikenTxt& d = dialogMogisikenTxt();
        d.centerOn(*this);
        d.showModal();
    }
}

void FrmMain::timerLimitKikitoriMode_Timer()
{
    const std::int16_t n = platform::textToInt16(textLimitKikitoriMode.text());
    if (AnswerTimeLimitSec == 0)
        return; // no limit: the ticks do nothing until the timer is stopped
    if (textLimitKikitoriMode.text() != QLatin1String("0"))
        textLimitKikitoriMode.setText(platform::numberText(n - 1));
    else
        question::giveUp();
}

void FrmMain::timerCheckWavePlayEnd_Timer()
{
    // The probe cannot play while the exam still plays; nothing playing at all also
    // means the exam is over, even when the probe file is missing or unplayable.
    auto& sound = platform::sound();
    const bool ended = sound.playFile(platform::besideProgram(QStringLiteral("sound.wav")),
                                      platform::SND_NODEFAULT | platform::SND_NOSTOP)
        || !sound.isPlaying();
    StartButton_Command.setEnabled(false);
    if (!ended)
        return;
    if (!ExamAnswerText.isEmpty()) {
        FrmExamAnswer& answer = frmExamAnswer();
        answer.centerOn(*this);
        answer.showModal();
    }
    timerCheckWavePlayEnd.setEnabled(false);
    GiveBackExamControls();
    const int kind = comboMogisikenMode.listIndex();
    if (kind == 0 || kind == 1)
        mnuMojihanni.setEnabled(true);
    else if (kind == 2)
        mnuMojihanni.setEnabled(false);
}

void FrmMain::upDownLimitKikitoriMode_Change()
{
    AnswerTimeLimitSec = platform::textToInt16(textLimitKikitoriMode.text());
}
