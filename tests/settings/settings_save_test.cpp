#include "settings/AlphabetLayout.h"
#include "settings/SettingsLoader.h"
#include "settings/SettingsWriter.h"
#include "settings_fixture.h"

#include <set>

using namespace forms;

namespace {
// Row 1..13; 0 checks none.
void onlyLatinRange(FrmMain& f, int row)
{
    for (int r = 1; r <= 13; ++r)
        f.LatinRangeItem(r).setChecked(r == row);
}

void onlyKanaRange(FrmMain& f, int item)
{
    for (int i = 1; i <= 18; ++i)
        f.mnuMojihanniWabun_Hani(i).setChecked(i == item);
}

// Byte positions where two files differ (the shorter one read as zeros past its end).
std::set<qint64> changedBytes(const QByteArray& before, const QByteArray& after)
{
    std::set<qint64> changed;
    const qint64 n = std::max(before.size(), after.size());
    for (qint64 i = 0; i < n; ++i) {
        const char a = i < before.size() ? before[i] : '\0';
        const char b = i < after.size() ? after[i] : '\0';
        if (a != b)
            changed.insert(i);
    }
    return changed;
}

// A file whose every byte is 0x5A outside the given values, longer than 262 records.
QByteArray patterned()
{
    QByteArray b(SettingsRecordOffset(262) + 3 * SettingsRecordLength, '\x5a');
    return b;
}
} // namespace

class SettingsSave : public SettingsFixture {};

TEST_F(SettingsSave, LatinSettingsComeBackAfterARestart)
{
    FrmMain& f = started();
    f.optionKikitoriMode.click();
    f.optionSpeed60.click();
    f.textToneFreq.setText("650");
    f.comboMogisikenMode.setListIndex(2);
    f.upDownReceiveTime.up();
    f.upDownLimitKikitoriMode.down();
    f.mnuSoundBeep.click();
    onlyLatinRange(f, 13); // the user-chosen set
    LatinUserChosen[3] = 3;
    LatinUserChosen[48] = 48; // the error sign

    FrmMain& g = restarted();
    EXPECT_EQ(g.width(), 7500);
    EXPECT_TRUE(g.optionKikitoriMode.value());
    EXPECT_EQ(g.textCwSpeed.text(), "60");
    EXPECT_TRUE(g.optionSpeed60.value());
    EXPECT_EQ(g.textToneFreq.text(), "650");
    EXPECT_EQ(g.comboMogisikenMode.listIndex(), 2);
    EXPECT_EQ(g.textReceiveTime.text(), "4");
    EXPECT_EQ(AnswerTimeLimitSec, 9);
    EXPECT_EQ(g.textLimitKikitoriMode.text(), "9");
    EXPECT_TRUE(g.mnuSoundBeep.checked());
    EXPECT_FALSE(g.mnuSoundWave.checked());
    EXPECT_TRUE(g.mnuMojihanniUserChose.checked());
    EXPECT_FALSE(g.mnuMojiHanniAtoE.checked());
    EXPECT_EQ(LatinUserChosen[3], 3);
    EXPECT_EQ(LatinUserChosen[48], 48);
    EXPECT_EQ(LatinUserChosen[4], 0);
    SettingsFile file;
    EXPECT_EQ(file.readString(11), "User");
    EXPECT_EQ(file.readInt16(71), 48);
}

TEST_F(SettingsSave, KanaSettingsComeBackAfterARestartAndLeaveTheLatinBlock)
{
    stored([](SettingsFile& s) { s.writeInt16(1, 0); });
    const QByteArray before = fileBytes();
    FrmMain& f = started();
    f.optionMogisikenMode.click();
    f.comboMogisikenMode.setListIndex(1);
    f.textToneFreq.setText("1000");
    f.textCwSpeed.setText("30");
    onlyKanaRange(f, 5);
    KanaUserChosen[49] = 49;
    f.checkExceptDakutenHandakuten.setValue(0); // its Click clears the flag
    EXPECT_EQ(KanaExcludeDakuten, 0);

    FrmMain& g = restarted();
    EXPECT_EQ(g.width(), 10600);
    EXPECT_TRUE(g.optionMogisikenMode.value());
    EXPECT_EQ(g.comboMogisikenMode.listIndex(), 1);
    EXPECT_EQ(g.textToneFreq.text(), "1000");
    EXPECT_EQ(g.textCwSpeed.text(), "30");
    EXPECT_EQ(KanaRangeIndex, 5);
    EXPECT_EQ(KanaUserChosen[49], 49);
    EXPECT_EQ(g.checkExceptDakutenHandakuten.value(), 0);
    EXPECT_EQ(KanaExcludeDakuten, 0);
    // No Latin record changed.
    const QByteArray after = fileBytes();
    EXPECT_EQ(after.left(SettingsRecordOffset(7)).mid(2), before.left(SettingsRecordOffset(7)).mid(2));
    EXPECT_EQ(after.mid(SettingsRecordOffset(8), SettingsRecordOffset(124) - SettingsRecordOffset(8)),
              before.mid(SettingsRecordOffset(8), SettingsRecordOffset(124) - SettingsRecordOffset(8)));
}

// A stored mode that names no mode (a damaged file) selects none, and no save
// writes a mode over it: not the alphabet switch's, there or back, nor the exit's.
TEST_F(SettingsSave, AStoredModeThatNamesNoneIsKeptByEverySave)
{
    auto noMode = [](FrmMain& f) {
        for (const OptionButton* o : ModeOptions(f))
            if (o->value())
                return false;
        return true;
    };
    for (const std::int16_t alphabet : {-1, 0}) {
        for (const std::int16_t mode : {0, 5, -1}) {
            SCOPED_TRACE(QStringLiteral("alphabet %1, mode %2").arg(alphabet).arg(mode).toStdString());
            forms::discardAll();
            resetSharedSettings();
            stored([&](SettingsFile& s) {
                s.writeInt16(1, alphabet);
                s.writeInt16(2, mode);
                s.writeInt16(124, mode);
            });
            FrmMain& f = started();
            EXPECT_TRUE(noMode(f));
            f.mnuChange.click();
            EXPECT_NE(AlphabetIsLatin, alphabet);
            EXPECT_TRUE(noMode(f));
            f.mnuChange.click();
            EXPECT_TRUE(noMode(restarted()));
            for (const int record : {2, 124})
                EXPECT_EQ(fileBytes().mid(SettingsRecordOffset(record), 2), SettingsInt16Bytes(mode))
                    << "record " << record;
        }
    }
}

TEST_F(SettingsSave, ASaveChangesOnlyTheValuesOfItsOwnRecords)
{
    for (const bool latin : {true, false}) {
        SCOPED_TRACE(latin ? "Latin" : "kana");
        forms::discardAll();
        resetSharedSettings();
        platform::writeWholeFile(settingsPath(), patterned());
        {
            SettingsFile s;
            s.writeInt16(1, latin ? -1 : 0);
        }
        const QByteArray before = fileBytes();
        FrmMain& f = frmMain();
        // Values that surely differ from the pattern.
        f.textToneFreq.setText("700");
        f.textCwSpeed.setText("40");
        f.textReceiveTime.setText("5");
        f.mnuSoundWave_Click();
        onlyLatinRange(f, 1);
        onlyKanaRange(f, 1);
        SaveMainSettings();

        // The value spans the writer owns.
        std::vector<std::pair<int, int>> spans = {{1, 2}, {7, 6}, {262, 2}};
        if (latin) {
            for (int r : {2, 3, 4, 5, 6})
                spans.push_back({r, 2});
            spans.push_back({11, 6});
            for (int r = 24; r <= 71; ++r)
                spans.push_back({r, 2});
        } else {
            for (int r : {124, 125, 126, 127, 128, 129, 261})
                spans.push_back({r, 2});
            for (int r = 142; r <= 209; ++r)
                spans.push_back({r, 4});
        }
        auto inSpan = [&](qint64 at) {
            for (auto [r, n] : spans)
                if (at >= SettingsRecordOffset(r) && at < SettingsRecordOffset(r) + n)
                    return true;
            return false;
        };
        const QByteArray after = fileBytes();
        EXPECT_EQ(after.size(), before.size());
        for (qint64 at : changedBytes(before, after))
            ASSERT_TRUE(inSpan(at)) << "byte " << at << " in record " << at / SettingsRecordLength + 1;
        SettingsFile s;
        EXPECT_EQ(s.readInt16(latin ? 3 : 125), 700);
        EXPECT_EQ(s.readString(7), "WAVE");
    }
}

namespace {
struct WriterCase {
    const char* name;
    std::function<void(FrmMain&)> change;
    std::function<void(SettingsFile&)> expect;
};

void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }

const WriterCase writerCases[] = {
    {"NoModeSelectedKeepsRecord2", [](FrmMain& f) { f.optionKakuninMode.setValue(false); },
     [](SettingsFile& s) { EXPECT_EQ(s.readInt16(2), 3); }},
    {"NeitherSoundItemKeepsRecord7",
     [](FrmMain& f) {
         f.mnuSoundWave.setChecked(false);
         f.mnuSoundBeep.setChecked(false);
     },
     [](SettingsFile& s) { EXPECT_EQ(s.readString(7), "WAVE_DELAY"); }},
    {"NoLatinRangeItemKeepsRecord11",
     [](FrmMain& f) { onlyLatinRange(f, 0); },
     [](SettingsFile& s) { EXPECT_EQ(s.readString(11), "Marks"); }},
    {"FirstCheckedLatinRangeIsSaved",
     [](FrmMain& f) {
         f.mnuMojiHanniNumbers.setChecked(true);
         f.mnuMojiHanniAll.setChecked(true);
     },
     [](SettingsFile& s) { EXPECT_EQ(s.readString(11), "Numbers"); }},
    {"NoExamKindWritesMinusOne", [](FrmMain& f) { f.comboMogisikenMode.setListIndex(-1); },
     [](SettingsFile& s) { EXPECT_EQ(s.readInt16(5), -1); }},
    {"AFlagOfNeitherAlphabetWritesOnlyRecord262",
     [](FrmMain&) {
         AlphabetIsLatin = 1;
         AnswerTimeLimitSec = 4;
     },
     [](SettingsFile& s) {
         EXPECT_EQ(s.readInt16(1), -1);
         EXPECT_EQ(s.readInt16(3), 800);
         EXPECT_EQ(s.readInt16(262), 4);
     }},
};

class WriterConditions : public SettingsFixture, public ::testing::WithParamInterface<WriterCase> {};
} // namespace

TEST_P(WriterConditions, RecordsFollowTheirConditions)
{
    stored([](SettingsFile& s) {
        s.writeInt16(2, 3);
        s.writeString(7, "WAVE_DELAY");
        s.writeString(11, "Marks");
    });
    FrmMain& f = frmMain();
    f.optionKakuninMode.setValue(true);
    f.mnuSoundWave_Click();
    f.comboMogisikenMode.setListIndex(0);
    GetParam().change(f);
    SaveMainSettings();
    SettingsFile s;
    GetParam().expect(s);
}

INSTANTIATE_TEST_SUITE_P(Writer, WriterConditions, ::testing::ValuesIn(writerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsSave, KanaWithNoRangeItemSavesZeroAndTheTickedBoxSetsTheFlag)
{
    stored([](SettingsFile& s) { s.writeInt16(1, 0); });
    FrmMain& f = frmMain();
    onlyKanaRange(f, 0);
    f.checkExceptDakutenHandakuten.setValue(1);
    KanaExcludeDakuten = 0;
    SaveMainSettings();
    EXPECT_EQ(KanaExcludeDakuten, -1);
    SettingsFile s;
    EXPECT_EQ(s.readInt16(129), 0);
    EXPECT_EQ(s.readInt16(261), -1);
}

TEST_F(SettingsSave, ABoxWithoutANumberStopsTheSaveBeforeAnyWrite)
{
    stored([](SettingsFile&) {});
    const QByteArray before = fileBytes();
    FrmMain& f = started();
    f.optionKikitoriMode.click();
    for (TextBox* box : {&f.textToneFreq, &f.textCwSpeed}) {
        const QString kept = box->text();
        box->setText("");
        EXPECT_THROW(SaveMainSettings(), platform::Failure);
        EXPECT_EQ(fileBytes(), before);
        box->setText(kept);
    }
    // Leaving the program settles the box being edited as leaving it would, and saves.
    f.textCwSpeed.setText("");
    EXPECT_THROW(f.mnuEnd.click(), ProgramEnded);
    SettingsFile s;
    EXPECT_EQ(s.readInt16(4), 25);
    EXPECT_EQ(s.readInt16(2), 2);
}
