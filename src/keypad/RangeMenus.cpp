// The Latin and kana range menus: moving the check mark, laying out the keypad
// for the chosen range and giving the keys their captions back.
#include "keypad/RangeMenus.h"

#include "keypad/KeypadRules.h"
#include "keypad/RangeTables.h"
#include "practice/QuenModule.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"

using namespace forms;

namespace {
void checkOnlyLatinRow(FrmMain& f, int row)
{
    for (int r = 1; r <= LatinRangeCount; ++r)
        f.LatinRangeItem(r).setChecked(r == row);
}
} // namespace

// A shortcut key reaches an item even while its menu is hidden or disabled; the
// range may change only where the learner can open the menu, so never during a run.
void FrmMain::LatinRangeItem_Click(int row)
{
    if (!LatinRangeItem(row).reachable())
        return;
    checkTypeKey.setEnabled(false);
    checkOnlyLatinRow(*this, row);
    RestoreLatinKeyCaptions();
    if (InRangeMode(*this))
        for (int i = 1; i <= LatinCharCount; ++i)
            LatinButton(i).setEnabled(LatinRangeHasKey(row, i));
}

void FrmMain::mnuMojihanniUserChose_Click()
{
    if (!mnuMojihanniUserChose.reachable())
        return;
    checkOnlyLatinRow(*this, LatinUserRangeRow);
    SetTypeKeyTrio(true);
    checkTypeKey.setValue(1);
    if (AlphabetIsLatin != -1)
        return;
    if (InRangeMode(*this))
        LatinButton.forEach([](CommandButton& b) { b.setEnabled(true); });
    // The captions stay as they are: the blink timer takes them over.
    if (mnuMojihanni.enabled())
        timerUserChoseLetters.setEnabled(true);
}

void FrmMain::RestoreLatinKeyCaptions()
{
    for (int i = 1; i <= LatinCharCount; ++i)
        LatinButton(i).setCaption(LatinCharTable[i]);
    timerUserChoseLetters.setEnabled(false);
}

void FrmMain::RestoreKanaKeyCaptions()
{
    for (int i = 1; i <= KanaCharCount; ++i) {
        CommandButton& b = ButtonJp(i);
        if (b.caption().isEmpty())
            b.setCaption(GetKanaText(static_cast<std::int16_t>(i)));
    }
}

void FrmMain::mnuMojihanniWabun_Hani_Click(int index)
{
    if (!mnuMojihanniWabun_Hani(index).reachable())
        return;
    if ((optionKikitoriMode.value() || optionKikinagashiMode.value()) && index != KanaUserRangeRow) {
        SetTypeKeyTrio(false);
        checkTypeKey.setValue(0);
    } else {
        SetTypeKeyTrio(true);
        checkTypeKey.setValue(1);
    }
    std::int16_t row = static_cast<std::int16_t>(index);
    ApplyKanaRange(row);
    KanaRangeIndex = static_cast<std::int16_t>(index);
}

void ApplyKanaRange(std::int16_t& index)
{
    FrmMain& f = frmMain();
    if (index == 0) {
        for (int i = 1; i <= KanaRangeCount; ++i) {
            if (f.mnuMojihanniWabun_Hani(i).checked()) {
                index = static_cast<std::int16_t>(i);
                break;
            }
        }
    }
    const int row = index;
    const bool valid = row >= 1 && row <= KanaRangeCount;
    for (int i = 1; i <= KanaRangeCount; ++i)
        f.mnuMojihanniWabun_Hani(i).setChecked(false);
    if (valid)
        f.mnuMojihanniWabun_Hani(row).setChecked(true);

    f.checkExceptDakutenHandakuten.setEnabled(false);
    f.ButtonJp.forEach([](CommandButton& b) { b.setEnabled(false); });
    f.timerUserChoseJpLetters.setEnabled(false);
    if (!valid)
        return;

    for (int i = 1; i <= KanaCharCount; ++i)
        if (KanaRangeHasKey(row, i))
            f.ButtonJp(i).setEnabled(true);
    if (row == KanaUserRangeRow)
        f.timerUserChoseJpLetters.setEnabled(true);
    else
        f.RestoreKanaKeyCaptions();

    const int kind = f.comboMogisikenMode.listIndex();
    if (const char16_t* caption = KanaRangeTable[row].dakutenCaption;
        caption && f.optionMogisikenMode.value() && (kind == 0 || kind == 1)) {
        f.checkExceptDakutenHandakuten.setEnabled(true);
        f.checkExceptDakutenHandakuten.setCaption(QString::fromUtf16(caption));
    }
}
