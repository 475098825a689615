#include "keypad/KeypadRules.h"
#include "keypad/RangeMenus.h"
#include "settings/SharedSettings.h"
#include "settings/SettingsFile.h"
#include "support/keypad_fixture.h"

#include <QApplication>
#include <QMainWindow>

// Qt's own entry for a key that may be a shortcut (what its test library uses):
// the shortcut map of the active window sees it as the window system would.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
    const QString& text = QString(), bool autorep = false, ushort count = 1);

using namespace forms;

namespace {
void pressShortcut(FrmMain& f, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QApplication::setActiveWindow(f.window());
    qt_sendShortcutOverrideEvent(f.window(), 0, key, mods);
}

std::vector<int> checkedLatinRows(FrmMain& f)
{
    std::vector<int> rows;
    for (int r = 1; r <= 13; ++r)
        if (f.LatinRangeItem(r).checked())
            rows.push_back(r);
    return rows;
}

std::vector<int> checkedKanaRows(FrmMain& f)
{
    std::vector<int> rows;
    for (int r = 1; r <= 18; ++r)
        if (f.mnuMojihanniWabun_Hani(r).checked())
            rows.push_back(r);
    return rows;
}
} // namespace

class RangeMenus : public KeypadFixture { };

TEST_F(RangeMenus, ALatinRangeDecidesWhichKeysCanAnswer)
{
    FrmMain& f = shown();
    f.optionKikitoriMode.click();
    f.mnuMojiHanniNumbers.click();
    EXPECT_EQ(checkedLatinRows(f), std::vector<int> {7});
    EXPECT_EQ(enabledLatinKeys(f), span(27, 36));
    EXPECT_FALSE(f.checkTypeKey.enabled());

    SentChar = QStringLiteral("A");
    QuestionOpen = -1;
    f.LatinButton(1).click(); // A, disabled: takes no click
    EXPECT_EQ(QuestionOpen, -1);
    EXPECT_TRUE(AnswerChar.isEmpty());
    f.LatinButton(31).click(); // 5
    EXPECT_EQ(AnswerChar, "5");
    EXPECT_EQ(f.Label1.caption(), "A");

    f.mnuMojiHanniAlphabetsMarks.click();
    EXPECT_EQ(enabledLatinKeys(f), span(1, 26, span(37, 48)));
    f.mnuMojiHanniAll.click();
    EXPECT_EQ(enabledLatinKeys(f), span(1, 48));
    EXPECT_FALSE(f.checkTypeKey.enabled()); // unlike the keypad rules, the choice itself offers no typing
}

TEST_F(RangeMenus, TheLatinUserSetOffersEveryKeyAndBlinksUntilAnotherRangeIsChosen)
{
    FrmMain& f = shown();
    f.optionKikinagashiMode.click();
    f.mnuMojiHanniAtoE.click();
    EXPECT_FALSE(f.timerUserChoseLetters.enabled());
    f.checkTypeKey.setValue(0);
    f.mnuMojihanniUserChose.click();
    EXPECT_EQ(checkedLatinRows(f), std::vector<int> {13});
    EXPECT_EQ(enabledLatinKeys(f), span(1, 48));
    EXPECT_TRUE(f.checkTypeKey.enabled() && f.checkTypeKeyLeftLabel.enabled() && f.checkTypeKeyRightLabel.enabled());
    EXPECT_EQ(f.checkTypeKey.value(), 1);
    EXPECT_TRUE(f.timerUserChoseLetters.enabled());

    f.LatinButton(3).setCaption(QString()); // as a hidden blink phase leaves it
    f.mnuMojiHanniFtoJ.click();
    EXPECT_EQ(f.LatinButton(3).caption(), "C");
    EXPECT_FALSE(f.timerUserChoseLetters.enabled());
    EXPECT_EQ(enabledLatinKeys(f), span(6, 10));
    EXPECT_FALSE(f.checkTypeKey.enabled());
    EXPECT_EQ(f.checkTypeKey.value(), 1); // the choice leaves the tick
}

TEST_F(RangeMenus, ShortcutKeysChooseARangeOnlyWhileTheMenuCanBeOpened)
{
    FrmMain& f = shown();
    f.optionKikitoriMode.click();
    pressShortcut(f, Qt::Key_F7);
    EXPECT_EQ(checkedLatinRows(f), std::vector<int> {7});
    pressShortcut(f, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(checkedLatinRows(f), std::vector<int> {9});

    // A run locks the menu: the range stays as the run started with it.
    f.mnuMojihanni.setEnabled(false);
    for (auto [key, mods] : {std::pair {Qt::Key_F2, Qt::NoModifier}, std::pair {Qt::Key_F5, Qt::ShiftModifier}})
        pressShortcut(f, key, mods);
    EXPECT_EQ(checkedLatinRows(f), std::vector<int> {9});
    EXPECT_EQ(enabledLatinKeys(f), span(1, 36));
    EXPECT_FALSE(f.timerUserChoseLetters.enabled());

    // With kana in use the Latin menu is hidden.
    f.mnuMojihanni.setEnabled(true);
    f.mnuChange.click();
    f.optionKikitoriMode.click();
    pressShortcut(f, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(checkedLatinRows(f), std::vector<int> {9});
    EXPECT_FALSE(f.checkTypeKey.enabled()); // row 13 would have offered typing
}

TEST_F(RangeMenus, AKanaRangeLaysOutTheKanaKeypad)
{
    FrmMain& f = shownKana();
    f.ButtonJp(60).setCaption(QString()); // as created
    f.optionKikinagashiMode.click();
    EXPECT_EQ(f.ButtonJp(60).caption(), QStringLiteral("〇"));

    f.mnuMojihanniWabun_Hani(10).click();
    EXPECT_EQ(checkedKanaRows(f), std::vector<int> {10});
    EXPECT_EQ(KanaRangeIndex, 10);
    EXPECT_EQ(enabledKanaKeys(f), span(46, 50));
    EXPECT_FALSE(f.checkTypeKey.enabled());
    EXPECT_EQ(f.checkTypeKey.value(), 0);

    f.ButtonJp(5).setCaption(QString());
    f.mnuMojihanniWabun_Hani(18).click();
    EXPECT_EQ(enabledKanaKeys(f), span(1, 68));
    EXPECT_TRUE(f.timerUserChoseJpLetters.enabled());
    EXPECT_EQ(f.ButtonJp(5).caption(), QString()); // the blink timer takes the captions over
    EXPECT_TRUE(f.checkTypeKey.enabled());
    EXPECT_EQ(f.checkTypeKey.value(), 1);
    EXPECT_FALSE(f.checkExceptDakutenHandakuten.enabled());

    f.mnuMojihanniWabun_Hani(12).click();
    EXPECT_EQ(enabledKanaKeys(f), span(61, 68));
    EXPECT_EQ(f.ButtonJp(5).caption(), QStringLiteral("オ"));
    EXPECT_FALSE(f.timerUserChoseJpLetters.enabled());

    // In the mock exam every row offers typing; a voiced row offers the voiced-kana box.
    f.comboMogisikenMode.setListIndex(1);
    f.optionMogisikenMode.click();
    f.mnuMojihanniWabun_Hani(6).click();
    EXPECT_EQ(f.checkTypeKey.value(), 1);
    EXPECT_TRUE(f.checkExceptDakutenHandakuten.enabled());
    EXPECT_EQ(f.checkExceptDakutenHandakuten.caption(), QStringLiteral("濁点・半濁点を練習しない"));
}

TEST_F(RangeMenus, ApplyKanaRangeTakesTheCheckedItemOrNone)
{
    FrmMain& f = shownKana();
    f.optionKikitoriMode.click();
    checkKanaRow(f, 7);
    std::int16_t index = 0;
    ApplyKanaRange(index);
    EXPECT_EQ(index, 7);
    EXPECT_EQ(enabledKanaKeys(f), span(31, 35));

    // A stored range outside the table selects nothing.
    index = 19;
    ApplyKanaRange(index);
    EXPECT_TRUE(checkedKanaRows(f).empty());
    EXPECT_TRUE(enabledKanaKeys(f).empty());
    EXPECT_FALSE(f.timerUserChoseJpLetters.enabled());
    index = 0;
    ApplyKanaRange(index);
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(enabledKanaKeys(f).empty());
}

TEST_F(RangeMenus, EveryRangeItemStartsChecked)
{
    // A settings file that names no range leaves the design marks as they are.
    SettingsFile(SettingsFile::defaultPath()).writeString(11, QString());
    FrmMain& f = frmMain();
    EXPECT_EQ(checkedLatinRows(f).size(), 13u);
    EXPECT_EQ(checkedKanaRows(f).size(), 18u);
}
