#include "settings_fixture.h"

using namespace forms;

class AlphabetSwitch : public SettingsFixture {};

TEST_F(AlphabetSwitch, TwoSwitchesBringEachAlphabetsSettingsBack)
{
    FrmMain& f = started(); // a first start: Latin
    f.optionKikitoriMode.click();
    f.upDownLimitKikitoriMode.down();
    f.optionKikinagashiMode.click();
    f.optionSpeed80.click();
    f.textToneFreq.setText("620");
    f.comboMogisikenMode.setListIndex(3);
    LatinUserChosen[48] = 48;
    f.Label4.setCaption("12");

    f.mnuChange.click();
    EXPECT_EQ(AlphabetIsLatin, 0);
    EXPECT_EQ(f.width(), 10600);
    EXPECT_EQ(f.frameJpButton.left(), 27.5f);
    EXPECT_EQ(f.Label4.caption(), "");
    ASSERT_EQ(f.comboMogisikenMode.listCount(), 4);
    EXPECT_EQ(f.comboMogisikenMode.list(2), "疑似和文");
    EXPECT_EQ(f.comboMogisikenMode.listIndex(), 0);
    // The kana block of the first-run file.
    EXPECT_TRUE(f.optionKakuninMode.value());
    EXPECT_EQ(f.textToneFreq.text(), "800");
    EXPECT_EQ(f.textCwSpeed.text(), "45");
    EXPECT_EQ(AnswerTimeLimitSec, 9); // the limit is shared and not read again
    EXPECT_EQ(f.textLimitKikitoriMode.text(), "9");
    f.textToneFreq.setText("900");
    f.optionKikitoriMode.click();
    f.comboMogisikenMode.setListIndex(0);
    KanaUserChosen[3] = 3;
    f.checkExceptDakutenHandakuten.setValue(0);

    f.mnuChange.click();
    EXPECT_EQ(AlphabetIsLatin, -1);
    EXPECT_EQ(f.width(), 7500);
    ASSERT_EQ(f.comboMogisikenMode.listCount(), 4);
    EXPECT_EQ(f.comboMogisikenMode.list(2), "疑似英文");
    EXPECT_EQ(f.comboMogisikenMode.listIndex(), 3);
    EXPECT_TRUE(f.optionKikinagashiMode.value());
    EXPECT_EQ(f.textCwSpeed.text(), "80");
    EXPECT_EQ(f.textToneFreq.text(), "620");
    EXPECT_EQ(LatinUserChosen[48], 48);
    EXPECT_EQ(AnswerTimeLimitSec, 9);

    f.mnuChange.click();
    EXPECT_EQ(f.textToneFreq.text(), "900");
    EXPECT_TRUE(f.optionKikitoriMode.value());
    EXPECT_EQ(f.comboMogisikenMode.listIndex(), 0);
    EXPECT_EQ(KanaUserChosen[3], 3);
    // The voiced-kana flag comes back with the kana settings.
    EXPECT_EQ(f.checkExceptDakutenHandakuten.value(), 0);
    EXPECT_EQ(KanaExcludeDakuten, 0);
}

TEST_F(AlphabetSwitch, TheSwitchRebuildsTheBankAtTheNewAlphabetsToneAndSpeed)
{
    stored([](SettingsFile& s) {
        s.writeInt16(125, 1100);
        s.writeInt16(126, 25);
        s.writeInt32(21, 8000);
    });
    FrmMain& f = started();
    EXPECT_EQ(SoundBankFreqText, "800");
    f.mnuChange.click();
    EXPECT_EQ(SoundBankFreqText, "1100");
    EXPECT_EQ(SoundBankSpeedText, "25");
    EXPECT_EQ(WaveSampleRate, 8000);
    // In the Beep sound mode nothing is rebuilt.
    f.mnuSoundBeep.click();
    f.mnuChange.click();
    EXPECT_EQ(SoundBankFreqText, "1100");
}

TEST_F(AlphabetSwitch, TheOptionsDialogIsLoadedAgainForTheNewAlphabet)
{
    stored([](SettingsFile& s) {
        s.writeInt16(130, 4);
        s.writeInt16(131, 8);
        s.writeInt16(132, 2);
        s.writeString(136, "かな単語");
        s.writeInt16(140, 5);
    });
    FrmMain& f = started();
    ASSERT_TRUE(frmOptions.isLoaded());
    const auto generation = frmOptions().generation();
    f.mnuChange.click();
    FrmOptions& o = frmOptions();
    EXPECT_NE(o.generation(), generation);
    EXPECT_EQ(o.textLowerBound.text(), "4");
    EXPECT_EQ(o.textUpperBound.text(), "8");
    EXPECT_TRUE(o.optionEntryFile2.value());
    EXPECT_EQ(KanaWordFileChoice, 2);
    EXPECT_EQ(KanaWordFileTitle[2], "かな単語");
    EXPECT_EQ(o.textHugouKakuninPlayTimes.text(), "5");
}

TEST_F(AlphabetSwitch, ASaveThatCannotConvertItsBoxesIsSettledFirst)
{
    FrmMain& f = started();
    f.textToneFreq.setText("");
    f.mnuChange.click();
    EXPECT_EQ(AlphabetIsLatin, 0);
    EXPECT_EQ(SettingsFile().readInt16(3), 800);
}
