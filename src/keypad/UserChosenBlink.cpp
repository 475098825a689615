// The blinking of the user-chosen keys: hidden 500 ms, shown 1000 ms, while the
// set of the alphabet is the range; once a run goes, only the chosen keys stay on.
#include "keypad/KeypadRules.h"
#include "keypad/RangeTables.h"
#include "keypad/UserChosen.h"
#include "practice/QuenModule.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"

using namespace forms;

namespace {
constexpr int shownMs = 1000;
constexpr int hiddenMs = 500;

// One step of the phase cycle. A tick that ends a shown interval makes the next
// one hidden; true when this tick ended a hidden interval (the captions were just
// shown again), the moment a run may stop the blinking.
bool advancePhase(Timer& t, std::int16_t& hidden)
{
    if (t.interval() == shownMs) {
        t.setInterval(hiddenMs);
        hidden = 0;
        return false;
    }
    if (t.interval() == hiddenMs) {
        t.setInterval(shownMs);
        hidden = -1;
        return true;
    }
    return false;
}

bool runGoing(FrmMain& f) { return !f.optionKakuninMode.value() && !f.StartButton_Command.enabled(); }
} // namespace

void FrmMain::timerUserChoseLetters_Timer()
{
    if (AlphabetIsLatin != -1 || !mnuMojihanniUserChose.checked())
        return;
    for (int k = 1; k <= LatinCharCount; ++k)
        if (IsLatinUserChosen(k) || IsLatinUserUnchosen(k))
            LatinButton(k).setCaption(IsLatinUserChosen(k) && LatinBlinkHidden == -1 ? QString() : LatinCharTable[k]);
    if (LatinBlinkHidden == 0 && (optionKakuninMode.value() || InTextExamMode(*this))) {
        timerUserChoseLetters.setEnabled(false);
        return;
    }
    if (advancePhase(timerUserChoseLetters, LatinBlinkHidden) && LatinUserChosenCount != 0 && runGoing(*this)) {
        timerUserChoseLetters.setEnabled(false);
        for (int k = 1; k <= LatinCharCount; ++k)
            if (IsLatinUserUnchosen(k))
                LatinButton(k).setEnabled(false);
    }
}

void FrmMain::timerUserChoseJpLetters_Timer()
{
    if (AlphabetIsLatin == 0) {
        for (int i = 1; i <= KanaCharCount; ++i) {
            if (!IsKanaUserChosen(i) && !IsKanaUserUnchosen(i))
                continue; // neither chosen nor unchosen: its caption is left alone
            const bool blank = IsKanaUserChosen(i) && KanaBlinkHidden == -1;
            ButtonJp(i).setCaption(blank ? QString() : GetKanaText(static_cast<std::int16_t>(i)));
        }
    }
    if (InTextExamMode(*this) || (optionKakuninMode.value() && KanaBlinkHidden == 0)) {
        timerUserChoseJpLetters.setEnabled(false);
        for (int i = 1; i <= KanaCharCount; ++i)
            ButtonJp(i).setCaption(GetKanaText(static_cast<std::int16_t>(i)));
        return;
    }
    if (advancePhase(timerUserChoseJpLetters, KanaBlinkHidden) && KanaUserChosenCount != 0
        && mnuMojihanniWabun_Hani(KanaUserRangeRow).checked() && runGoing(*this)) {
        timerUserChoseJpLetters.setEnabled(false);
        for (int i = 1; i <= KanaCharCount; ++i)
            if (IsKanaUserUnchosen(i))
                ButtonJp(i).setEnabled(false);
    }
}
