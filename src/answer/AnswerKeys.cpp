// The answer keys of both keypads: code check, answering and the registration of
// user-chosen characters.
#include "answer/AnswerKeys.h"

#include "dialogs/frmOptions.h"
#include "keypad/UserChosen.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "sounding/PlayCharacter.h"
#include "synthesis/Delay.h"

#include <optional>

using namespace forms;

namespace {
std::optional<std::int16_t> numberIn(const QString& text)
{
    std::optional<std::int16_t> value;
    platform::ignoreErrors([&] { value = platform::textToInt16(text); });
    return value;
}

} // namespace

void ShowRightAnswer(FrmMain& f)
{
    f.Label1.setForeColor(vbRed);
    f.Label1.setCaption(QString());
    WaitMilliseconds(80);
    if (!f.isLoaded())
        return;
    f.Label1.setCaption(QStringLiteral("○"));
    platform::saturatingIncrement(CorrectCount);
    f.Label2.setCaption(platform::numberText(CorrectCount));
}

void ShowWrongAnswer(FrmMain& f)
{
    f.Label1.setForeColor(vbBlack);
    f.Label1.setCaption(SentChar);
}

namespace {

// Claims the open question for this answer; false when none is open.
bool takeOpenQuestion(const QString& text)
{
    if (QuestionOpen != -1)
        return false;
    QuestionOpen = 0;
    frmMain().timerLimitKikitoriMode.setEnabled(false);
    AnswerChar = text;
    return true;
}
} // namespace

void PlayCodeCheckCharacter(const QString& text)
{
    FrmMain& f = frmMain();
    const QString speed = f.textCwSpeed.text();
    const auto tone = numberIn(f.textToneFreq.text());
    const auto playCount = numberIn(frmOptions().textHugouKakuninPlayTimes.text());
    const auto gap = numberIn(frmOptions().textHugouSpace.text());
    if (!tone || !playCount || !gap)
        return;
    PlayCharacter(text, speed, *tone, WaveSampleRate, *playCount, *gap);
    if (f.isLoaded())
        f.Label1.setCaption(QString());
}

void JudgeLatinAnswer(const QString& text)
{
    if (!takeOpenQuestion(text))
        return;
    FrmMain& f = frmMain();
    if (AnswerChar == SentChar) {
        ShowRightAnswer(f);
    } else {
        ShowWrongAnswer(f);
        CountLatinMiss(SentChar);
    }
}

void JudgeKanaAnswer(const QString& text)
{
    if (!takeOpenQuestion(text))
        return;
    FrmMain& f = frmMain();
    if (AnswerChar == SentChar) {
        ShowRightAnswer(f);
    } else if (!SentChar.isEmpty()) {
        ShowWrongAnswer(f);
        CountKanaMiss(GetKanaIndex(SentChar));
    }
    if (f.isLoaded())
        f.optionKikitoriMode.setFocus();
}

void ToggleLatinUserChosen(std::int16_t index)
{
    if (index < 1 || index > LatinCharCount)
        return;
    FrmMain& f = frmMain();
    const bool idle = f.StartButton_Command.enabled();
    if (!idle)
        return;
    if (IsLatinUserChosen(index))
        LatinUserChosen[index] = 0;
    else if (f.mnuMojihanniUserChose.checked())
        LatinUserChosen[index] = index;
}

void ToggleKanaUserChosen(std::int16_t index)
{
    if (index < 1 || index > KanaCharCount)
        return;
    FrmMain& f = frmMain();
    if (!f.StartButton_Command.enabled() || !f.mnuMojihanniWabun_Hani(18).checked())
        return;
    KanaUserChosen[index] = IsKanaUserChosen(index) ? 0 : index;
}

void FrmMain::LatinButton_Click(int index)
{
    const QString c = LatinCharTable[static_cast<std::size_t>(index)];
    if (optionKakuninMode.value())
        PlayCodeCheckCharacter(c);
    else if (optionKikitoriMode.value())
        JudgeLatinAnswer(c);
    if (isLoaded())
        ToggleLatinUserChosen(static_cast<std::int16_t>(index));
}

void FrmMain::ButtonJp_Click(int index)
{
    const QString t = GetKanaText(static_cast<std::int16_t>(index));
    if (!StartButton_Command.enabled()) {
        if (optionKakuninMode.value())
            PlayCodeCheckCharacter(t);
        else if (optionKikitoriMode.value())
            JudgeKanaAnswer(t);
    }
    if (isLoaded())
        ToggleKanaUserChosen(static_cast<std::int16_t>(index));
}
