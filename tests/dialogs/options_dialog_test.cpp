#include "dialogs/OptionsRecords.h"
#include "dialogs/dialogMogisikenTxt.h"
#include "dialogs/frmOptions.h"
#include "dialog_fixture.h"
#include "practice/frmMain.h"
#include "support/real_input.h"
#include "settings/SettingsRecords.h"

#include <QDir>

using namespace forms;

class OptionsDialog : public DialogFixture { };

namespace {
// The panel of tab `tab` stands in view and takes input; the others are out of view.
void expectPanelsFor(FrmOptions& f, int tab)
{
    for (int i = 0; i <= 3; ++i) {
        SCOPED_TRACE(testing::Message() << "tab " << tab << ", panel " << i);
        EXPECT_EQ(f.picOptions(i).left(), i == tab - 1 ? 210 : -20000);
        EXPECT_EQ(f.picOptions(i).enabled(), i == tab - 1);
    }
}
} // namespace

TEST_F(OptionsDialog, DesignValuesThatOtherPartsRead)
{
    FrmOptions& f = frmOptions();
    for (HScrollBar* s : {&f.WavQuarityHScroll, &f.WavVolumeHScroll}) {
        EXPECT_EQ(s->min(), 1);
        EXPECT_EQ(s->max(), 5);
    }
    EXPECT_EQ(f.hScrollCodeInterval.min(), -100);
    EXPECT_EQ(f.hScrollCodeInterval.max(), 100);
    EXPECT_EQ(f.hScrollCodeInterval.largeChange(), 10);

    const struct {
        const char* name;
        UpDown* spinner;
        TextBox* box;
        int min, max, maxLength;
    } spinners[] = {
        {"play count", &f.upDownLoopCw, &f.textHugouKakuninPlayTimes, 1, 5, 1},
        {"gap", &f.upDownHugouSpace, &f.textHugouSpace, 3, 10, 2},
        {"lower", &f.upDownLowerBound, &f.textLowerBound, 1, 10, 2},
        {"upper", &f.upDownUpperBound, &f.textUpperBound, 1, 10, 2},
    };
    for (const auto& c : spinners) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.box->locked());
        EXPECT_EQ(c.box->maxLength(), c.maxLength);
        EXPECT_EQ(c.spinner->min(), c.min);
        EXPECT_EQ(c.spinner->max(), c.max);
        EXPECT_EQ(c.spinner->buddy(), c.box);
    }
    ASSERT_EQ(f.tbsOptions.tabCount(), 4);
    EXPECT_EQ(f.tbsOptions.tabCaption(2), QStringLiteral("模擬試験"));
    EXPECT_EQ(f.tbsOptions.selectedIndex(), 1);
    // Until the first switch the first panel stands at its design Left.
    EXPECT_EQ(f.picOptions(0).left(), 240);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(f.picOptions(i).left(), -20000);
    EXPECT_FALSE(f.cmdSave.enabled());
}

TEST_F(OptionsDialog, TheTabSwitchBringsOnePanelIntoView)
{
    FrmOptions& f = frmOptions();
    f.show();
    for (int tab : {3, 4, 1, 2}) {
        f.tbsOptions.clickTab(tab);
        expectPanelsFor(f, tab);
    }
    // Controls of a panel out of view cannot be reached.
    EXPECT_FALSE(f.WavQuarityHScroll.reachable());
    EXPECT_TRUE(f.optionWaveSampLow.reachable());
}

TEST_F(OptionsDialog, SelectingTheSecondTabFromCodeRunsTheSwitchBeforeShowing)
{
    // What the pass button does in its "登録・編集" role.
    frmOptions().tbsOptions.selectTab(2);
    expectPanelsFor(frmOptions(), 2);
}

TEST_F(OptionsDialog, CtrlTabStepsThroughTheTabsAndWrapsAround)
{
    FrmOptions& f = frmOptions();
    f.show();
    f.tbsOptions.clickTab(3);
    f.userKey(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(f.tbsOptions.selectedIndex(), 4);
    f.userKey(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(f.tbsOptions.selectedIndex(), 1);
    expectPanelsFor(f, 1);
    // Neither Ctrl+Shift+Tab nor Tab alone switches a tab.
    f.userKey(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    f.userKey(Qt::Key_Tab);
    EXPECT_EQ(f.tbsOptions.selectedIndex(), 1);
}

// Typed at a focused control of each panel, Ctrl+Tab moves exactly one tab on, although
// the switch takes the focus away from the control the key was typed at.
TEST_F(OptionsDialog, CtrlTabTypedAtAFocusedControlStepsOneTab)
{
    FrmOptions& f = frmOptions();
    f.show();
    real::activate(f);
    Control* const onPanel[] = {&f.TestButton, &f.textLowerBound, &f.richTextBoxEntryWords, &f.textHugouSpace};
    for (int tab = 1; tab <= 4; ++tab) {
        SCOPED_TRACE(testing::Message() << "from tab " << tab);
        f.tbsOptions.clickTab(tab);
        f.richTextBoxEntryWords.setEnabled(true); // also without a word file
        onPanel[tab - 1]->setFocus();
        ASSERT_EQ(real::keyTarget(), onPanel[tab - 1]->widget());
        real::key(Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(f.tbsOptions.selectedIndex(), tab % 4 + 1);
    }
    // Round the strip from wherever the focus went.
    for (int expected : {2, 3, 4, 1}) {
        real::key(Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(f.tbsOptions.selectedIndex(), expected);
    }
    expectPanelsFor(f, 1);
}

TEST_F(OptionsDialog, EveryWayOfClosingUnloadsWithoutSavingExceptOk)
{
    const struct {
        const char* how;
        void (*close)(FrmOptions&);
        bool saves;
    } ways[] = {
        {"OK", [](FrmOptions& f) { f.cmdOK.click(); }, true},
        {"cancel", [](FrmOptions& f) { f.cmdCancel.click(); }, false},
        {"Esc", [](FrmOptions& f) { f.userType("\x1b"); }, false},
        {"close box", [](FrmOptions& f) { f.userClose(); }, false},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        records([](SettingsFile& s) {
            s.writeInt16(9, 1);
            s.writeInt16(22, 1);
            s.writeInt16(72, 1);
        });
        FrmOptions& f = frmOptions();
        const unsigned generation = f.generation();
        f.show();
        f.WavVolumeHScroll.userScrollTo(4);
        f.tbsOptions.clickTab(4);
        f.upDownLoopCw.up();
        f.tbsOptions.clickTab(2);
        f.optionTextSelect.click();
        ASSERT_EQ(f.textHugouKakuninPlayTimes.text(), "2");
        ASSERT_TRUE(f.cmdSave.enabled());
        way.close(f);
        ASSERT_FALSE(frmOptions.isLoaded());

        FrmOptions& again = frmOptions();
        EXPECT_NE(again.generation(), generation);
        EXPECT_FALSE(again.isShown());
        EXPECT_EQ(again.WavVolumeHScroll.value(), way.saves ? 4 : 1);
        EXPECT_EQ(again.textHugouKakuninPlayTimes.text(), way.saves ? "2" : "1");
        EXPECT_EQ(again.optionTextSelect.value(), way.saves);
        EXPECT_EQ(again.tbsOptions.selectedIndex(), 1);
        EXPECT_EQ(again.picOptions(0).left(), 240);
        frmOptions.unload();
    }
}

// Every record of the dialog, for both alphabets: what the load shows, and that a
// save after changing each control writes the new value to the same record.
TEST_F(OptionsDialog, LoadAndSaveRoundTripOfTheRecords)
{
    for (const std::int16_t alphabet : {std::int16_t(-1), std::int16_t(0)}) {
        SCOPED_TRACE(alphabet == -1 ? "Latin" : "kana");
        AlphabetIsLatin = alphabet;
        const AlphabetRecords& r = RecordsOf(alphabet);
        const QString file2 = path(QStringLiteral("words%1.txt").arg(alphabet));
        writeBytes(file2, "ONE\r\nTWO");
        records([&](SettingsFile& s) {
            s.writeInt16(8, 3);
            s.writeInt16(9, 5);
            s.writeInt16(10, -40);
            s.writeInt32(21, 8000);
            s.writeInt16(r.lowerBound, 2);
            s.writeInt16(r.upperBound, 6);
            s.writeInt16(r.wordFileChoice, 2);
            s.writeString(r.wordFileTitle[1], QString());
            s.writeString(r.wordFilePath[1], QString());
            s.writeString(r.wordFileTitle[2], QStringLiteral("単語.txt"));
            s.writeString(r.wordFilePath[2], file2);
            s.writeString(r.wordFileTitle[3], QString());
            s.writeString(r.wordFilePath[3], QString());
            s.writeInt16(r.codePlayCount, 4);
            s.writeInt16(r.codeGapUnits, 7);
            s.writeInt16(r.examTextSelectMode, 2);
        });
        FrmOptions& f = frmOptions();
        EXPECT_EQ(f.WavQuarityHScroll.value(), 3);
        EXPECT_EQ(f.QuarityLabel.caption(), QStringLiteral("[音質3]"));
        EXPECT_EQ(f.WavVolumeHScroll.value(), 5);
        EXPECT_EQ(f.VolumeLabel.caption(), QStringLiteral("[音量10]"));
        EXPECT_EQ(f.hScrollCodeInterval.value(), -40);
        EXPECT_EQ(f.labelCodeInterval.caption(), QStringLiteral("遅延時間 -40%"));
        EXPECT_EQ(CodeIntervalFactor, static_cast<float>(1 - 0.4));
        EXPECT_EQ(WaveSampleRate, 8000);
        EXPECT_TRUE(f.optionWaveSampLow.value());
        EXPECT_EQ(f.textLowerBound.text(), "2");
        EXPECT_EQ(f.textUpperBound.text(), "6");
        EXPECT_TRUE(f.optionEntryFile2.value());
        EXPECT_EQ(f.optionEntryFile1.caption(), QStringLiteral("登録なし"));
        EXPECT_EQ(f.optionEntryFile2.caption(), QStringLiteral("単語.txt"));
        EXPECT_EQ(f.ChosenWordFile(), file2);
        EXPECT_EQ(f.textHugouKakuninPlayTimes.text(), "4");
        EXPECT_EQ(f.textHugouSpace.text(), "7");
        EXPECT_TRUE(f.optionTextSelect.value());
        const OptionsVariables v = OptionsVariablesOf(alphabet);
        EXPECT_EQ(v.lower, 2);
        EXPECT_EQ(v.upper, 6);
        EXPECT_EQ(v.choice, 2);
        EXPECT_EQ(v.path[2], file2);
        EXPECT_EQ(v.playCount, 4);
        EXPECT_EQ(v.gapUnits, 7);
        EXPECT_EQ(v.textSelectMode, 2);
        EXPECT_FALSE(f.cmdSave.enabled());
        EXPECT_TRUE(dialogs::messages().empty());

        f.show();
        f.WavQuarityHScroll.userScrollTo(5);
        f.WavVolumeHScroll.userScrollTo(2);
        f.hScrollCodeInterval.userScrollTo(25);
        f.tbsOptions.clickTab(2);
        f.optionWaveSampHigh.click();
        f.upDownLowerBound.up();
        f.upDownUpperBound.up();
        f.optionEntrySampleFile.click();
        f.optionTextRandom.click();
        f.tbsOptions.clickTab(4);
        f.upDownLoopCw.down();
        f.upDownHugouSpace.up();
        const AlphabetRecords& other = RecordsOf(alphabet == -1 ? 0 : -1);
        const std::int16_t otherPlayCount = SettingsFile().readInt16(other.codePlayCount);
        f.cmdSave.click();
        EXPECT_FALSE(f.cmdSave.enabled());
        EXPECT_TRUE(f.isShown());

        SettingsFile s;
        EXPECT_EQ(s.readInt16(8), 5);
        EXPECT_EQ(s.readInt16(9), 2);
        EXPECT_EQ(s.readInt16(10), 25);
        EXPECT_EQ(s.readInt32(21), 16000);
        EXPECT_EQ(s.readInt16(r.lowerBound), 3);
        EXPECT_EQ(s.readInt16(r.upperBound), 7);
        EXPECT_EQ(s.readInt16(r.wordFileChoice), 0);
        EXPECT_EQ(s.readString(r.wordFileTitle[2]), QStringLiteral("単語.txt"));
        EXPECT_EQ(s.readString(r.wordFilePath[2]), file2);
        EXPECT_EQ(s.readInt16(r.codePlayCount), 3);
        EXPECT_EQ(s.readInt16(r.codeGapUnits), 8);
        EXPECT_EQ(s.readInt16(r.examTextSelectMode), 1);
        EXPECT_EQ(v.textSelectMode, 1);
        // The other alphabet's block is untouched.
        EXPECT_EQ(s.readInt16(other.codePlayCount), otherPlayCount);
        frmOptions.unload();
    }
}

TEST_F(OptionsDialog, StoredValuesOutsideTheControlsAreBroughtIntoRange)
{
    // A file written elsewhere (or records that were never written: zeros).
    records([](SettingsFile& s) {
        s.writeInt16(8, 0);
        s.writeInt16(9, 9);
        s.writeInt16(10, 150);
        s.writeInt32(21, 0);
        s.writeInt16(12, 0);
        s.writeInt16(13, 15);
        s.writeInt16(22, 0);
        s.writeInt16(23, 40);
    });
    WaveSampleRate = 8000;
    FrmOptions& f = frmOptions();
    // A step outside 1..5 leaves the slider and its design label.
    EXPECT_EQ(f.WavQuarityHScroll.value(), 1);
    EXPECT_EQ(f.QuarityLabel.caption(), QStringLiteral("[音質5]"));
    EXPECT_EQ(f.WavVolumeHScroll.value(), 1);
    EXPECT_EQ(f.hScrollCodeInterval.value(), 100);
    EXPECT_EQ(CodeIntervalFactor, 2.0f);
    EXPECT_EQ(WaveSampleRate, 16000); // 0 is no rate the program makes
    EXPECT_FALSE(f.optionWaveSampLow.value());
    EXPECT_TRUE(f.optionWaveSampHigh.value());
    EXPECT_EQ(f.textLowerBound.text(), "1");
    EXPECT_EQ(f.textUpperBound.text(), "10");
    EXPECT_EQ(f.textHugouKakuninPlayTimes.text(), "1");
    EXPECT_EQ(f.textHugouSpace.text(), "10");
}

TEST_F(OptionsDialog, ABoxThatHoldsNoNumberSavesTheLastValueAndShowsIt)
{
    records([](SettingsFile& s) { s.writeInt16(23, 6); });
    FrmOptions& f = frmOptions();
    f.show();
    f.textHugouSpace.setText("abc");
    f.textHugouKakuninPlayTimes.setText("9");
    f.cmdOK.click();
    EXPECT_FALSE(frmOptions.isLoaded());
    SettingsFile s;
    EXPECT_EQ(s.readInt16(23), 6);
    EXPECT_EQ(s.readInt16(22), 5);
    EXPECT_EQ(LatinCodeGapUnits, 6);
}

TEST_F(OptionsDialog, WordLengthBounds)
{
    FrmOptions& f = frmOptions();
    f.show();
    f.tbsOptions.clickTab(2);
    f.textUpperBound.setText("5");
    // Raising the lower bound above the upper one raises the upper one.
    for (int i = 0; i < 6; ++i)
        f.upDownLowerBound.up();
    EXPECT_EQ(f.textLowerBound.text(), "7");
    EXPECT_EQ(f.textUpperBound.text(), "7");
    // An upper bound set below the lower one afterwards stays.
    for (int i = 0; i < 4; ++i)
        f.upDownUpperBound.down();
    EXPECT_EQ(f.textUpperBound.text(), "3");
    EXPECT_EQ(f.textLowerBound.text(), "7");

    // Leaving a box that shows "0" sets "1", and the lower box's change raises the
    // upper box with it; more than 10 becomes 10.
    f.textLowerBound.setText("0");
    f.textUpperBound.setText("0");
    f.textLowerBound.click();
    f.textUpperBound.click();
    EXPECT_EQ(f.textLowerBound.text(), "1");
    EXPECT_EQ(f.textUpperBound.text(), "1");
    f.textLowerBound.setText("12");
    EXPECT_EQ(f.textUpperBound.text(), "1"); // a lower bound above 10 raises nothing
    f.textLowerBound.click();
    f.textUpperBound.click();
    EXPECT_EQ(f.textLowerBound.text(), "10");
    EXPECT_EQ(f.textUpperBound.text(), "10");
}

TEST_F(OptionsDialog, SavingTheTextModeLoadsTheExamTextDialogAndSetsItsOption)
{
    records([](SettingsFile& s) { s.writeInt16(72, 1); });
    FrmOptions& f = frmOptions();
    f.show();
    f.tbsOptions.clickTab(2);
    f.optionTextSelect.click();
    ASSERT_FALSE(dialogMogisikenTxt.isLoaded());
    f.cmdSave.click();
    ASSERT_TRUE(dialogMogisikenTxt.isLoaded());
    EXPECT_TRUE(dialogMogisikenTxt().optionTestSelect.value());
    EXPECT_EQ(LatinExamTextSelectMode, 2);
    EXPECT_EQ(SettingsFile().readInt16(72), 2);
}

TEST_F(OptionsDialog, CancelKeepsTheSampleRateChosenUntilTheNextLoad)
{
    FrmOptions& f = frmOptions();
    f.show();
    f.tbsOptions.clickTab(2);
    f.optionWaveSampLow.click();
    EXPECT_EQ(WaveSampleRate, 8000);
    const QByteArray before = settingsBytes();
    f.cmdCancel.click();
    EXPECT_EQ(WaveSampleRate, 8000);
    EXPECT_EQ(settingsBytes(), before);
    frmOptions();
    EXPECT_EQ(WaveSampleRate, 16000);
}

TEST_F(OptionsDialog, AnUnwritableSettingsFileIsSaidAndKeepsTheDialogOpen)
{
    FrmOptions& f = frmOptions();
    f.show();
    QFile::remove(SettingsFile::defaultPath());
    ASSERT_TRUE(QDir().mkdir(SettingsFile::defaultPath()));
    f.cmdOK.click();
    EXPECT_TRUE(f.isShown());
    ASSERT_EQ(dialogs::messages().size(), 1u);
    EXPECT_EQ(dialogs::messages()[0].title, QStringLiteral("エラー"));
}

TEST_F(OptionsDialog, TheExamTextButtonDropsTheDialogsChangesAndShowsTheExamTextDialog)
{
    frmMain();
    FrmOptions& f = frmOptions();
    f.show();
    f.tbsOptions.clickTab(2);
    f.optionTextSelect.click();
    const QByteArray before = settingsBytes();
    bool shownModal = false;
    clock().callAt(clock().now() + 10, [&] {
        shownModal = dialogMogisikenTxt.isLoaded() && dialogMogisikenTxt().isModal();
        dialogMogisikenTxt().userClose();
    });
    f.cmdTextSet.click();
    EXPECT_TRUE(shownModal);
    EXPECT_FALSE(frmOptions.isLoaded());
    EXPECT_FALSE(dialogMogisikenTxt.isLoaded());
    // The exam-text dialog's own close saved its records; the options dialog's
    // choice of method was not saved.
    EXPECT_EQ(SettingsFile().readInt16(72), 1);
    EXPECT_EQ(settingsBytes().size(), before.size());
}
