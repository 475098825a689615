#include "platform/sound/sound_service.h"
#include "settings/SettingsRecords.h"
#include "settings_fixture.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <map>
#include <string>
#include <unistd.h>

using namespace forms;

// Every record 1..262 has exactly one place in the table, so no two settings
// share a record and none is forgotten.
TEST(SettingsRecords, EveryRecordHasOnePlace)
{
    std::map<int, int> uses;
    for (const int r : {SharedRecord::Alphabet, SharedRecord::SoundMode, SharedRecord::Quality, SharedRecord::Volume,
                        SharedRecord::CodeInterval, SharedRecord::SampleRate, SharedRecord::AnswerLimit})
        ++uses[r];
    for (const AlphabetRecords* b : {&LatinRecords, &KanaRecords}) {
        for (const int r : {b->mode, b->tone, b->speed, b->examKind, b->minutes, b->range, b->lowerBound,
                            b->upperBound, b->wordFileChoice, b->codePlayCount, b->codeGapUnits,
                            b->examTextSelectMode, b->autoStartEnd})
            ++uses[r];
        if (b->excludeDakuten)
            ++uses[b->excludeDakuten];
        for (int i = 0; i < b->userChosenCount; ++i)
            ++uses[b->firstUserChosen + i];
        for (int slot = 1; slot <= 3; ++slot) {
            ++uses[b->wordFileTitle[slot]];
            ++uses[b->wordFilePath[slot]];
        }
        for (int slot = 0; slot <= 9; ++slot)
            for (const int first : {b->firstExamTextPath, b->firstExamTextEnabled, b->firstWaveStartEnd,
                                    b->firstWaveFreq, b->firstWaveSpeed})
                ++uses[first + slot];
    }
    ASSERT_EQ(uses.size(), 262u);
    EXPECT_EQ(uses.begin()->first, 1);
    EXPECT_EQ(uses.rbegin()->first, 262);
    for (const auto& [record, n] : uses)
        EXPECT_EQ(n, 1) << "record " << record;
    EXPECT_EQ(&RecordsOf(-1), &LatinRecords);
    EXPECT_EQ(&RecordsOf(0), &KanaRecords);
}

class DamagedSettings : public SettingsFixture {
protected:
    void exitAndForget()
    {
        EXPECT_THROW(frmMain().mnuEnd.click(), ProgramEnded);
        forms::discardAll();
        resetSharedSettings();
        LatinCharWave.fill({});
    }
};

// A sample rate that the program does not make loads as 16000: the start builds
// the bank at 16000 in a moment, instead of hundreds of megabytes or an end of
// the program, and the options dialog shows the rate in force.
TEST_F(DamagedSettings, ASampleRateOfNeitherKindStartsAt16000)
{
    for (const std::int32_t rate : {4000000, 2000000000, 1073757824, 11025, 0, -16000, 48000}) {
        SCOPED_TRACE(rate);
        stored([&](SettingsFile& s) { s.writeInt32(21, rate); });
        FrmMain& f = started();
        EXPECT_EQ(WaveSampleRate, 16000);
        EXPECT_TRUE(frmOptions().optionWaveSampHigh.value());
        ASSERT_FALSE(LatinCharWave[1].isEmpty());
        // The rate in the header of a character's sound.
        EXPECT_EQ(LatinCharWave[1].mid(24, 4), SettingsInt32Bytes(16000));
        EXPECT_LT(QFileInfo(platform::besideProgram("sound/A.wav")).size(), 100000);
        EXPECT_TRUE(f.isShown());
        exitAndForget();
        // The record is the options dialog's: the main window's save keeps its bytes.
        EXPECT_EQ(SettingsFile().readInt32(21), rate);
    }
}

// A sound mode that is neither "WAVE" nor "BEEP" leaves both items marked as
// designed: Wave sounds, and the next save stores a valid mode.
TEST_F(DamagedSettings, ADamagedSoundModeKeepsWaveAndHealsAtTheNextSave)
{
    const QByteArray wave = QByteArray::fromHex("040057415645");
    for (const QByteArray& damaged : {QByteArray::fromHex("040077617665"), // "wave"
                                      QByteArray::fromHex("0000"),         // ""
                                      QByteArray::fromHex("0300810041"),   // not code page 932
                                      QByteArray::fromHex("ffff5a5a")}) {  // a count beyond the record
        SCOPED_TRACE(damaged.toHex().toStdString());
        platform::writeWholeFile(settingsPath(),
                                 FirstRunSettingsImage().replace(SettingsRecordOffset(7), damaged.size(), damaged));
        FrmMain& f = started();
        EXPECT_TRUE(f.mnuSoundWave.checked());
        EXPECT_TRUE(f.mnuSoundBeep.checked());
        EXPECT_FALSE(LatinCharWave[1].isEmpty()); // the bank was built
        exitAndForget();
        EXPECT_EQ(fileBytes().mid(SettingsRecordOffset(7), wave.size()), wave);
    }
}

// A save that cannot be written is said, naming the file; the switch then keeps
// the alphabet in use, and the exit still ends the program.
TEST_F(DamagedSettings, ASaveThatCannotBeWrittenIsSaidAndTheSwitchStays)
{
    platform::createFolder(settingsPath()); // opens neither for reading nor for writing
    FrmMain& f = started();
    const float width = f.width();
    f.mnuChange.click();
    ASSERT_FALSE(dialogs::messages().empty());
    const MsgBoxRecord box = dialogs::messages().back();
    EXPECT_EQ(box.title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(box.buttons, vbOKOnly | vbCritical);
    EXPECT_TRUE(box.prompt.contains(settingsPath())) << box.prompt.toStdString();
    EXPECT_EQ(AlphabetIsLatin, -1);
    EXPECT_EQ(f.width(), width);
    EXPECT_TRUE(f.mnuMojihanni.visible());

    const std::size_t before = dialogs::messages().size();
    EXPECT_THROW(f.mnuEnd.click(), ProgramEnded);
    ASSERT_EQ(dialogs::messages().size(), before + 1);
    EXPECT_EQ(dialogs::messages().back().title, QStringLiteral("ファイルエラー"));
}

// When the system asks the program to end (a signal, the end of the session), a
// save that cannot be written is said on standard error only: a box would keep the
// process alive until someone clicked it, and every further signal would stack
// another. The close box keeps its box.
TEST_F(DamagedSettings, ASystemRequestToEndEndsWithoutABoxWhenTheSaveFails)
{
    platform::createFolder(settingsPath());
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(sig);
        started();
        ListenForEndRequests();
        const std::size_t before = dialogs::messages().size();
        testing::internal::CaptureStderr();
        ::raise(sig);
        EXPECT_THROW(clock().yield(clock().now() + 10), ProgramEnded);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(dialogs::messages().size(), before);
        EXPECT_NE(said.find("the settings were not saved"), std::string::npos) << said;
        forms::discardAll();
    }
    FrmMain& f = started();
    const std::size_t before = dialogs::messages().size();
    EXPECT_THROW(f.userClose(), ProgramEnded);
    ASSERT_EQ(dialogs::messages().size(), before + 1);
    EXPECT_EQ(dialogs::messages().back().title, QStringLiteral("ファイルエラー"));
}

// A file that may only be read still loads the learner's settings.
TEST_F(DamagedSettings, AFileThatMayOnlyBeReadLoadsAndKeepsItsBytes)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes any file";
    stored([](SettingsFile& s) { s.writeInt16(3, 700); });
    const QByteArray before = fileBytes();
    QFile::setPermissions(settingsPath(), QFileDevice::ReadOwner);
    FrmMain& f = started();
    EXPECT_EQ(f.textToneFreq.text(), "700");
    f.textToneFreq.setText("900");
    f.mnuChange.click();
    EXPECT_EQ(AlphabetIsLatin, -1);
    EXPECT_EQ(dialogs::messages().back().title, QStringLiteral("ファイルエラー"));
    EXPECT_THROW(f.mnuEnd.click(), ProgramEnded);
    QFile::setPermissions(settingsPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(fileBytes(), before);
}

// A stored mode that names none leaves the panel waiting for a choice. Start has
// nothing to run then: a press takes none of the panel (before, it held the panel
// until Stop with nothing sounding); the mode chosen next is set up as usual.
TEST_F(DamagedSettings, StartWithNoModeSelectedTakesNothing)
{
    for (const std::int16_t alphabet : {-1, 0}) {
        SCOPED_TRACE(alphabet);
        stored([&](SettingsFile& s) {
            s.writeInt16(1, alphabet);
            s.writeInt16(alphabet == -1 ? 2 : 124, 0);
        });
        FrmMain& f = started();
        ASSERT_FALSE(f.optionKakuninMode.value());
        EXPECT_FALSE(f.RangeMenuOfAlphabet().enabled());
        ASSERT_TRUE(f.StartButton_Command.reachable());
        const std::size_t sounds = platform::sound().log().size();
        f.StartButton_Command.click();
        EXPECT_TRUE(f.StartButton_Command.enabled());
        EXPECT_TRUE(f.mnuChange.enabled());
        EXPECT_TRUE(f.optionSpeed45.enabled());
        EXPECT_FALSE(f.textCwSpeed.locked());
        EXPECT_TRUE(f.upDownSpeed.enabled());
        EXPECT_TRUE(f.upDownLimitKikitoriMode.enabled());
        EXPECT_TRUE(f.optionKikitoriMode.enabled());
        EXPECT_EQ(platform::sound().log().size(), sounds);
        EXPECT_TRUE(dialogs::messages().empty());

        f.optionKikitoriMode.click();
        EXPECT_TRUE(f.RangeMenuOfAlphabet().enabled());
        EXPECT_TRUE(f.StartButton_Command.enabled());
        exitAndForget();
    }
}
