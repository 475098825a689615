#include "settings/ExamWaveKeyFile.h"
#include "settings/SettingsFile.h"
#include "support/app_fixture.h"

class ExamWaveKeyFile : public AppFixture {};

TEST_F(ExamWaveKeyFile, KeysSurviveInTheSettingsFile)
{
    SettingsExamWaveKeyStore store;
    const ExamWaveKey latin{-1, 800, 45}, kana{0, std::nullopt, 60};
    store.write(-1, 3, latin);
    store.write(0, 9, kana);
    EXPECT_EQ(store.read(-1, 3), latin);
    EXPECT_EQ(store.read(0, 9), kana);
    // The records the exam-text dialog reads at its load.
    SettingsFile file;
    const ExamWaveKeyRecords r = ExamWaveKeyRecordsOf(-1, 3);
    EXPECT_EQ(file.readInt16(r.startEnd), -1);
    EXPECT_EQ(file.readTagged(r.freq), 800);
    EXPECT_EQ(file.readTagged(r.speed), 45);
    EXPECT_EQ(store.read(-1, 4), ExamWaveKey{});
}
