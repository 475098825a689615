#include "settings_fixture.h"

#include <QDir>

using namespace forms;

namespace {
struct MappingCase {
    const char* name;
    std::function<void(SettingsFile&)> store;
    std::function<void(FrmMain&, FrmOptions&)> expect;
};

void PrintTo(const MappingCase& c, std::ostream* os) { *os << c.name; }

bool onlyChecked(const std::vector<Menu*>& items, const Menu* checked)
{
    for (const Menu* m : items)
        if (m->checked() != (m == checked))
            return false;
    return true;
}

std::vector<Menu*> latinRangeItems(FrmMain& f)
{
    std::vector<Menu*> items;
    for (int row = 1; row <= 13; ++row)
        items.push_back(&f.LatinRangeItem(row));
    return items;
}

bool noModeSelected(FrmMain& f)
{
    return !f.optionKakuninMode.value() && !f.optionKikitoriMode.value() && !f.optionKikinagashiMode.value()
        && !f.optionMogisikenMode.value();
}

const MappingCase mappingCases[] = {
    {"Mode3SelectsListenThrough", [](SettingsFile& s) { s.writeInt16(2, 3); },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_TRUE(f.optionKikinagashiMode.value());
         EXPECT_FALSE(f.optionKakuninMode.value());
     }},
    {"Mode0SelectsNoMode", [](SettingsFile& s) { s.writeInt16(2, 0); },
     [](FrmMain& f, FrmOptions&) { EXPECT_TRUE(noModeSelected(f)); }},
    {"Mode5SelectsNoMode", [](SettingsFile& s) { s.writeInt16(2, 5); },
     [](FrmMain& f, FrmOptions&) { EXPECT_TRUE(noModeSelected(f)); }},
    {"KanaMode0SelectsNoMode",
     [](SettingsFile& s) {
         s.writeInt16(1, 0);
         s.writeInt16(124, 0);
     },
     [](FrmMain& f, FrmOptions&) { EXPECT_TRUE(noModeSelected(f)); }},
    {"KanaMode4SelectsTheMockExam",
     [](SettingsFile& s) {
         s.writeInt16(1, 0);
         s.writeInt16(124, 4);
         s.writeInt16(2, 2); // the Latin twin is not read
     },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_TRUE(f.optionMogisikenMode.value());
         EXPECT_FALSE(f.optionKikitoriMode.value());
     }},
    {"ToneAndSpeedFillTheBoxesAndPickThePreset",
     [](SettingsFile& s) {
         s.writeInt16(3, 1200);
         s.writeInt16(4, 60);
         s.writeInt16(6, 12);
     },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_EQ(f.textToneFreq.text(), "1200");
         EXPECT_EQ(f.textCwSpeed.text(), "60");
         EXPECT_TRUE(f.optionSpeed60.value());
         EXPECT_FALSE(f.optionSpeed45.value());
         EXPECT_EQ(f.textReceiveTime.text(), "12");
     }},
    {"ExamKind7SelectsNothingAndTheLoadGoesOn",
     [](SettingsFile& s) {
         s.writeInt16(5, 7);
         s.writeInt16(6, 9);
     },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_EQ(f.comboMogisikenMode.listIndex(), -1);
         EXPECT_EQ(f.textReceiveTime.text(), "9");
     }},
    {"AReceiveModeKeepsItsPassButtonWithExamKind2",
     [](SettingsFile& s) {
         s.writeInt16(2, 2);
         s.writeInt16(5, 2);
     },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_EQ(f.comboMogisikenMode.listIndex(), 2);
         EXPECT_EQ(f.KaitoupassButton_Command.caption(), "解答パス");
         EXPECT_TRUE(f.KaitoupassButton_Command.enabled());
         EXPECT_TRUE(f.mnuMojihanni.enabled());
     }},
    {"TheMockExamIsSetUpForItsStoredKind",
     [](SettingsFile& s) {
         s.writeInt16(1, 0);
         s.writeInt16(124, 4);
         s.writeInt16(127, 3);
     },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_EQ(f.KaitoupassButton_Command.caption(), "登録・編集");
         EXPECT_TRUE(f.KaitoupassButton_Command.enabled());
         EXPECT_FALSE(f.mnuMojihanniWabun.enabled());
     }},
    {"Beep", [](SettingsFile& s) { s.writeString(7, "BEEP"); },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_TRUE(f.mnuSoundBeep.checked());
         EXPECT_FALSE(f.mnuSoundWave.checked());
     }},
    {"WaveDelayChecksNeither", [](SettingsFile& s) { s.writeString(7, "WAVE_DELAY"); },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_FALSE(f.mnuSoundBeep.checked());
         EXPECT_FALSE(f.mnuSoundWave.checked());
     }},
    {"LowerCaseWaveIsNoSoundModeAndLeavesBothMarked", [](SettingsFile& s) { s.writeString(7, "wave"); },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_TRUE(f.mnuSoundBeep.checked());
         EXPECT_TRUE(f.mnuSoundWave.checked());
     }},
    {"Quality3Volume3",
     [](SettingsFile& s) {
         s.writeInt16(8, 3);
         s.writeInt16(9, 3);
     },
     [](FrmMain&, FrmOptions& o) {
         EXPECT_EQ(o.QuarityLabel.caption(), "[音質3]");
         EXPECT_EQ(o.WavQuarityHScroll.value(), 3);
         EXPECT_EQ(ToneQualityValue(), 3);
         EXPECT_EQ(o.VolumeLabel.caption(), "[音量6]");
         EXPECT_EQ(o.WavVolumeHScroll.value(), 3);
     }},
    {"Quality0LeavesSliderAndLabel",
     [](SettingsFile& s) {
         s.writeInt16(8, 0);
         s.writeInt16(9, 6);
     },
     [](FrmMain&, FrmOptions& o) {
         EXPECT_EQ(o.WavQuarityHScroll.value(), 1);
         EXPECT_EQ(o.QuarityLabel.caption(), "[音質5]");
         EXPECT_EQ(o.WavVolumeHScroll.value(), 1);
         EXPECT_EQ(o.VolumeLabel.caption(), "[音量10]");
     }},
    {"CodeIntervalMinus30", [](SettingsFile& s) { s.writeInt16(10, -30); },
     [](FrmMain&, FrmOptions& o) {
         EXPECT_EQ(CodeIntervalFactor, static_cast<float>(1 + -30 * 0.01));
         EXPECT_EQ(o.labelCodeInterval.caption(), "遅延時間 -30%");
         EXPECT_EQ(o.hScrollCodeInterval.value(), -30);
     }},
    {"CodeInterval25", [](SettingsFile& s) { s.writeInt16(10, 25); },
     [](FrmMain&, FrmOptions& o) {
         EXPECT_EQ(CodeIntervalFactor, 1.25f);
         EXPECT_EQ(o.labelCodeInterval.caption(), "遅延時間 +25%");
     }},
    {"CodeInterval0IsExactlyOne", [](SettingsFile& s) { s.writeInt16(10, 0); },
     [](FrmMain&, FrmOptions& o) {
         EXPECT_EQ(CodeIntervalFactor, 1.0f);
         EXPECT_EQ(o.labelCodeInterval.caption(), "遅延時間 ±0%");
     }},
    // The main loader's own write is refused by the slider; the options dialog's load,
    // which runs first, brings the value into the slider's range.
    {"CodeIntervalBeyondTheSliderIsBroughtIntoRange", [](SettingsFile& s) { s.writeInt16(10, 150); },
     [](FrmMain&, FrmOptions& o) {
         EXPECT_EQ(CodeIntervalFactor, 2.0f);
         EXPECT_EQ(o.hScrollCodeInterval.value(), 100);
         EXPECT_EQ(o.labelCodeInterval.caption(), "遅延時間 +100%");
     }},
    {"RangeUser", [](SettingsFile& s) { s.writeString(11, "User"); },
     [](FrmMain& f, FrmOptions&) { EXPECT_TRUE(onlyChecked(latinRangeItems(f), &f.mnuMojihanniUserChose)); }},
    {"UnknownRangeKeyChangesNoItem", [](SettingsFile& s) { s.writeString(11, "AtoZ"); },
     [](FrmMain& f, FrmOptions&) {
         for (Menu* m : latinRangeItems(f))
             EXPECT_TRUE(m->checked()); // the design marks every item
     }},
    {"WordFileChoice2", [](SettingsFile& s) { s.writeInt16(14, 2); },
     [](FrmMain&, FrmOptions& o) {
         EXPECT_TRUE(o.optionEntryFile2.value());
         EXPECT_FALSE(o.optionEntrySampleFile.value());
     }},
    {"WordFileChoice7SelectsNone", [](SettingsFile& s) { s.writeInt16(14, 7); },
     [](FrmMain&, FrmOptions& o) {
         for (OptionButton* b :
              {&o.optionEntrySampleFile, &o.optionEntryFile1, &o.optionEntryFile2, &o.optionEntryFile3})
             EXPECT_FALSE(b->value());
     }},
    {"KanaWordFilesTitlesAndPaths",
     [](SettingsFile& s) {
         s.writeInt16(1, 0);
         s.writeInt16(132, 3);
         s.writeString(134, "単語一");
         s.writeString(139, "/home/学習者/三.txt");
         s.writeInt16(130, 2);
         s.writeInt16(131, 6);
         s.writeInt16(140, 4);
         s.writeInt16(141, 7);
     },
     [](FrmMain&, FrmOptions& o) {
         EXPECT_EQ(KanaWordFileChoice, 3);
         EXPECT_TRUE(o.optionEntryFile3.value());
         EXPECT_EQ(KanaWordFileTitle[1], "単語一");
         EXPECT_EQ(KanaWordFilePath[3], "/home/学習者/三.txt");
         EXPECT_EQ(KanaWordLenMin, 2);
         EXPECT_EQ(o.textLowerBound.text(), "2");
         EXPECT_EQ(o.textUpperBound.text(), "6");
         EXPECT_EQ(KanaCodePlayCount, 4);
         EXPECT_EQ(o.textHugouKakuninPlayTimes.text(), "4");
         EXPECT_EQ(o.textHugouSpace.text(), "7");
     }},
    {"SampleRate8000", [](SettingsFile& s) { s.writeInt32(21, 8000); },
     [](FrmMain&, FrmOptions& o) {
         EXPECT_EQ(WaveSampleRate, 8000);
         EXPECT_TRUE(o.optionWaveSampLow.value());
         EXPECT_FALSE(o.optionWaveSampHigh.value());
     }},
    {"SampleRate11025LoadsAs16000", [](SettingsFile& s) { s.writeInt32(21, 11025); },
     [](FrmMain&, FrmOptions& o) {
         EXPECT_EQ(WaveSampleRate, 16000);
         EXPECT_FALSE(o.optionWaveSampLow.value());
         EXPECT_TRUE(o.optionWaveSampHigh.value());
     }},
    {"KanaDakutenUnticked",
     [](SettingsFile& s) {
         s.writeInt16(1, 0);
         s.writeInt16(261, 0);
     },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_EQ(f.checkExceptDakutenHandakuten.value(), 0);
         EXPECT_EQ(KanaExcludeDakuten, 0);
     }},
    {"KanaDakutenTicked",
     [](SettingsFile& s) {
         s.writeInt16(1, 0);
         s.writeInt16(261, -1);
     },
     [](FrmMain& f, FrmOptions&) {
         EXPECT_EQ(f.checkExceptDakutenHandakuten.value(), 1);
         EXPECT_EQ(KanaExcludeDakuten, -1);
     }},
    {"KanaDakuten5LeavesTheBox",
     [](SettingsFile& s) {
         s.writeInt16(1, 0);
         s.writeInt16(261, 5);
     },
     [](FrmMain& f, FrmOptions&) { EXPECT_EQ(f.checkExceptDakutenHandakuten.value(), 1); }},
    {"KanaUserChosenEmptyIsNotChosen",
     [](SettingsFile& s) {
         s.writeInt16(1, 0);
         s.writeTagged(146, std::nullopt);
         s.writeTagged(147, 6);
         s.writeTagged(209, 68);
         s.writeInt16(129, 0);
     },
     [](FrmMain&, FrmOptions&) {
         EXPECT_EQ(KanaUserChosen[5], 0);
         EXPECT_EQ(KanaUserChosen[6], 6);
         EXPECT_EQ(KanaUserChosen[68], 68);
         EXPECT_EQ(KanaRangeIndex, 0);
     }},
    {"LatinUserChosenAll48",
     [](SettingsFile& s) {
         s.writeInt16(24, 1);
         s.writeInt16(71, 48);
     },
     [](FrmMain&, FrmOptions&) {
         EXPECT_EQ(LatinUserChosen[1], 1);
         EXPECT_EQ(LatinUserChosen[48], 48);
         EXPECT_EQ(LatinUserChosen[2], 0);
     }},
};

class LoaderMapping : public SettingsFixture, public ::testing::WithParamInterface<MappingCase> {};
} // namespace

TEST_P(LoaderMapping, StoredValueReachesItsControl)
{
    stored(GetParam().store);
    FrmMain& f = started();
    GetParam().expect(f, frmOptions());
}

INSTANTIATE_TEST_SUITE_P(Records, LoaderMapping, ::testing::ValuesIn(mappingCases),
                         [](const auto& info) { return std::string(info.param.name); });

class SettingsStart : public SettingsFixture {};

TEST_F(SettingsStart, AFirstStartHasTheDesignValuesAndWritesTheFirstRunFile)
{
    ASSERT_FALSE(QFile::exists(settingsPath()));
    FrmMain& f = started();
    EXPECT_EQ(f.width(), 7500);
    EXPECT_EQ(f.frameEngButton.left(), 387.5f);
    EXPECT_TRUE(f.mnuMojihanni.visible());
    EXPECT_TRUE(f.optionKakuninMode.value());
    EXPECT_EQ(f.textCwSpeed.text(), "45");
    EXPECT_EQ(f.textToneFreq.text(), "800");
    EXPECT_EQ(f.textReceiveTime.text(), "3");
    EXPECT_EQ(f.textLimitKikitoriMode.text(), "10");
    EXPECT_EQ(AnswerTimeLimitSec, 10);
    EXPECT_TRUE(f.mnuSoundWave.checked());
    EXPECT_EQ(WaveSampleRate, 16000);
    // The first range, not the design's marks (the empty user set among them would
    // refuse the first Start).
    EXPECT_TRUE(onlyChecked(latinRangeItems(f), &f.mnuMojiHanniAtoE));
    FrmOptions& o = frmOptions();
    EXPECT_TRUE(o.optionWaveSampHigh.value());
    EXPECT_EQ(o.QuarityLabel.caption(), "[音質1]");
    EXPECT_EQ(o.VolumeLabel.caption(), "[音量2]");
    EXPECT_EQ(o.textLowerBound.text(), "1");
    EXPECT_EQ(o.textHugouKakuninPlayTimes.text(), "1");
    EXPECT_EQ(o.textHugouSpace.text(), "3");
    EXPECT_TRUE(o.optionEntrySampleFile.value());
    EXPECT_EQ(fileBytes(), FirstRunSettingsImage());
    // The bank was built at the first-run speed, tone and rate.
    EXPECT_EQ(SoundBankSpeedText, "45");
    EXPECT_EQ(SoundBankFreqText, "800");
    EXPECT_TRUE(QDir(platform::besideProgram("sound")).exists());
}

TEST_F(SettingsStart, KanaSettingsLayTheWindowOutForKana)
{
    stored([](SettingsFile& s) { s.writeInt16(1, 0); });
    FrmMain& f = started();
    EXPECT_EQ(f.width(), 10600);
    EXPECT_EQ(f.height(), 9030);
    EXPECT_EQ(f.frameJpButton.left(), 27.5f);
    EXPECT_EQ(f.frameEngButton.left(), -48000);
    EXPECT_TRUE(f.mnuMojihanniWabun.visible());
    EXPECT_FALSE(f.mnuMojihanni.visible());
    ASSERT_EQ(f.comboMogisikenMode.listCount(), 4);
    EXPECT_EQ(f.comboMogisikenMode.list(2), "疑似和文");
}

TEST_F(SettingsStart, AnAlphabetFlagOfNeitherAlphabetReadsOnlyTheAnswerLimit)
{
    stored([](SettingsFile& s) {
        s.writeInt16(1, 1);
        s.writeInt16(262, 7);
        s.writeInt16(3, 1500);
    });
    FrmMain& f = frmMain();
    EXPECT_FALSE(frmOptions.isLoaded());
    EXPECT_EQ(f.comboMogisikenMode.listCount(), 0);
    EXPECT_EQ(f.textToneFreq.text(), "800"); // the design value, not record 3
    EXPECT_EQ(f.textLimitKikitoriMode.text(), "7");
    EXPECT_EQ(AnswerTimeLimitSec, 7);
}

TEST_F(SettingsStart, AShortDamagedFileLoadsWhatItHoldsAndKeepsItsBytes)
{
    // An earlier run's file that ends inside record 7, which is damaged (a count
    // beyond its record).
    QByteArray old = FirstRunSettingsImage().left(SettingsRecordOffset(7) + 4);
    old.replace(SettingsRecordOffset(3), 2, SettingsInt16Bytes(700));
    old.replace(SettingsRecordOffset(7), 4, QByteArray::fromHex("ffff4142"));
    platform::writeWholeFile(settingsPath(), old);

    FrmMain& f = started();
    EXPECT_EQ(f.width(), 7500); // record 1 still says Latin
    EXPECT_EQ(f.textToneFreq.text(), "700");
    EXPECT_EQ(f.textCwSpeed.text(), "45");
    // The damaged record changes no item: both stay marked as designed, so Wave
    // is in force.
    EXPECT_TRUE(f.mnuSoundWave.checked());
    EXPECT_TRUE(f.mnuSoundBeep.checked());
    EXPECT_EQ(WaveSampleRate, 16000); // past the end: zero, which is no rate
    for (Menu* m : latinRangeItems(f))
        EXPECT_TRUE(m->checked());
    EXPECT_EQ(AnswerTimeLimitSec, 0);

    // The save at exit writes its own records and heals the damaged sound mode.
    EXPECT_THROW(f.mnuEnd.click(), ProgramEnded);
    const QByteArray now = fileBytes();
    EXPECT_EQ(now.size(), 773345);
    EXPECT_EQ(now.mid(SettingsRecordOffset(7), 6), QByteArray::fromHex("040057415645"));
    EXPECT_EQ(now.mid(SettingsRecordOffset(3), 2), SettingsInt16Bytes(700));
}

TEST_F(SettingsStart, AFileThatCannotBeOpenedStartsWithTheFirstRunSettings)
{
    platform::createFolder(settingsPath());
    FrmMain& f = started();
    EXPECT_EQ(f.textCwSpeed.text(), "45");
    EXPECT_EQ(WaveSampleRate, 16000);
    EXPECT_TRUE(f.mnuSoundWave.checked());
    // Nothing can be saved, and the program still ends when asked.
    EXPECT_THROW(f.mnuEnd.click(), ProgramEnded);
    EXPECT_TRUE(QFileInfo(settingsPath()).isDir());
}
