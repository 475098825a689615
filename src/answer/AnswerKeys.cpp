// The answer keys of both keypads: code check, answering and the registration of
// user-chosen characters.
#include "answer/AnswerKeys.h"

#include "dialogs/frmOptions.h"
#include "keypad/UserChosen.h"
#include "platform/failure.h"
#include "platform/numbers.h"
#include "practice/QuenModule.h"
#include "practice/Question.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "sounding/PlayCharacter.h"
#include "synthesis/Delay.h"
#include "synthesis/SoundBank.h"

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

void PlayCodeCheckCharacter(const QString& text)
{
    // Pressed inside the waits of a rebuild: its character would sound from the
    // half-built bank. It sounds once the rebuild has ended, after the presses
    // made before it have sounded whole, if code check is still chosen then.
    if (SoundBankBuilding()) {
        AfterSoundBankBuilt([text] {
            const FrmMain* f = frmMain.ifLoaded();
            if (f && f->optionKakuninMode.value())
                PlayCodeCheckCharacter(text);
        });
        return;
    }
    FrmMain& f = frmMain();
    const QString speed = f.textCwSpeed.text();
    const auto tone = numberIn(f.textToneFreq.text());
    const auto playCount = numberIn(frmOptions().textHugouKakuninPlayTimes.text());
    const auto gap = numberIn(frmOptions().textHugouSpace.text());
    if (!tone || !playCount || !gap)
        return;
    PlayCharacter(text, speed, *tone, WaveSampleRate, *playCount, *gap);
    // The label is emptied of the character it showed; romaji typed after Esc, inside
    // the stopped repetition's wait, stays there as the entry it has begun.
    if (f.isLoaded() && f.Label1.caption() == text)
        f.Label1.setCaption(QString());
}

void JudgeLatinAnswer(const QString& text) { question::answer(text); }

void JudgeKanaAnswer(const QString& text)
{
    if (!question::answer(text, true))
        return;
    FrmMain& f = frmMain();
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
    ToggleUserChosenEntry(LatinUserChosen[index], index, f.mnuMojihanniUserChose.checked());
}

void ToggleKanaUserChosen(std::int16_t index)
{
    if (index < 1 || index > KanaCharCount)
        return;
    FrmMain& f = frmMain();
    if (!f.StartButton_Command.enabled() || !f.mnuMojihanniWabun_Hani(18).checked())
        return;
    ToggleUserChosenEntry(KanaUserChosen[index], index, true);
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
