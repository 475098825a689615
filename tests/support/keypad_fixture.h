#pragma once
#include "keypad/UserChosen.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"

#include <vector>

// The main window shown, with the answer state and both user-chosen sets cleared.
class KeypadFixture : public AppFixture {
protected:
    FrmMain& shown() { return shownMain(); }

    // The kana layout, through the alphabet switch as the learner reaches it.
    FrmMain& shownKana()
    {
        FrmMain& f = shown();
        f.mnuChange.click();
        EXPECT_EQ(AlphabetIsLatin, 0);
        return f;
    }

    // Leaves only row checked (as a choice or the settings loader would).
    static void checkLatinRow(FrmMain& f, int row)
    {
        for (int r = 1; r <= 13; ++r)
            f.LatinRangeItem(r).setChecked(r == row);
    }
    static void checkKanaRow(FrmMain& f, int row)
    {
        for (int r = 1; r <= 18; ++r)
            f.mnuMojihanniWabun_Hani(r).setChecked(r == row);
    }

    static std::vector<int> enabledLatinKeys(FrmMain& f)
    {
        std::vector<int> on;
        for (int i = 1; i <= 48; ++i)
            if (f.LatinButton(i).enabled())
                on.push_back(i);
        return on;
    }
    static std::vector<int> enabledKanaKeys(FrmMain& f)
    {
        std::vector<int> on;
        for (int i = 1; i <= 68; ++i)
            if (f.ButtonJp(i).enabled())
                on.push_back(i);
        return on;
    }
    static std::vector<int> span(int first, int last, std::vector<int> more = {})
    {
        std::vector<int> v;
        for (int i = first; i <= last; ++i)
            v.push_back(i);
        v.insert(v.end(), more.begin(), more.end());
        return v;
    }
};
