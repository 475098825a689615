#include "platform/files.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"
#include "support/character_image.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/SoundBank.h"
#include "synthesis/frmExchangeProgress.h"

#include <QDir>
#include <QFile>

class SoundBank : public AppFixture {
protected:
    FrmMain& main() { return shownMain(); }
    static QByteArray fileOf(const char* stem)
    {
        return platform::readWholeFile(platform::besideProgram(QStringLiteral("sound/%1.wav").arg(stem)));
    }
};

TEST_F(SoundBank, ProgressRisesByTenthsAndEndsAtTen)
{
    auto sequence = [](int n) {
        std::vector<int> v;
        int last = 0;
        for (int i = 1; i <= n; ++i) {
            if (int k = SoundBankProgressAfter(i, n))
                last = k;
            v.push_back(last);
        }
        return v;
    };
    auto latin = sequence(48);
    EXPECT_EQ(std::vector<int>(latin.begin(), latin.begin() + 10), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1, 1, 2}));
    EXPECT_EQ(latin[22], 4); // entry 23
    EXPECT_EQ(latin[23], 5); // entry 24
    EXPECT_EQ(latin[46], 9);
    EXPECT_EQ(latin[47], 10);
    auto kana = sequence(70);
    EXPECT_EQ(kana[5], 0);
    EXPECT_EQ(kana[6], 1);
    EXPECT_EQ(kana[68], 9);
    EXPECT_EQ(kana[69], 10);
    EXPECT_TRUE(std::is_sorted(kana.begin(), kana.end()));
}

TEST_F(SoundBank, LatinStartUpBuildsEveryFileAndImage)
{
    main();
    // Every file in place, and no temporary file left beside them.
    EXPECT_EQ(QDir(platform::besideProgram("sound")).entryList(QDir::Files | QDir::Hidden).size(), 48);
    for (int i = 1; i <= 48; ++i)
        EXPECT_EQ(LatinCharWave[i], platform::readWholeFile(CharacterWavePath(i))) << i;
    EXPECT_EQ(SoundBankSpeedText, "45");
    EXPECT_EQ(SoundBankFreqText, "800");
    EXPECT_FALSE(frmExchangeProgress.isLoaded());
}

TEST_F(SoundBank, KanaPassSharesLatinFilesAndRefreshesHAndR)
{
    FrmMain& f = main();
    const QByteArray latinA = LatinCharWave[1];
    f.textCwSpeed.setText("60");
    AlphabetIsLatin = 0;
    BuildSoundBank("60", 700, 8000);
    EXPECT_EQ(KanaCharWave[64], fileOf("MigiKakko"));
    EXPECT_EQ(KanaCharWave[65], fileOf("Inyouhu"));
    EXPECT_EQ(KanaCharWave[43], fileOf("HidariKakko"));
    EXPECT_EQ(KanaCharWave[1], fileOf("hore_a"));
    EXPECT_EQ(KanaCharWave[2], fileOf("A"));
    EXPECT_EQ(LatinCharWave[8], fileOf("H"));
    EXPECT_EQ(LatinCharWave[18], fileOf("R"));
    EXPECT_EQ(LatinCharWave[1], latinA); // the other Latin images stay
    EXPECT_NE(LatinCharWave[1], fileOf("A"));
    for (int k = 1; k <= 68; ++k)
        EXPECT_EQ(KanaCharWave[k], platform::readWholeFile(CharacterWavePath(MorseRowOfKana(k)))) << k;
    EXPECT_EQ(SoundBankFreqText, "700");
}

TEST_F(SoundBank, BeepLeavesTheBankAlone)
{
    FrmMain& f = main();
    f.mnuSoundBeep.click();
    const QByteArray a = LatinCharWave[1];
    BuildSoundBank("80", 900, 16000);
    EXPECT_EQ(SoundBankSpeedText, "45");
    EXPECT_EQ(LatinCharWave[1], a);
}

TEST_F(SoundBank, WithoutAWritableFolderTheImagesAreBuiltInMemory)
{
    main();
    QDir(platform::besideProgram("sound")).removeRecursively();
    QFile blocker(platform::besideProgram("sound")); // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    LatinCharWave.fill({});
    BuildSoundBank("60", 800, 8000);
    for (int i = 1; i <= 48; ++i)
        EXPECT_EQ(LatinCharWave[i], characterImage(i, 100, 800, 8000)) << i;
}

TEST_F(SoundBank, ARebuildDoesNotStartInsideAnotherOnesWaits)
{
    main();
    int nestedCalls = 0;
    // The writers of ".", ",", "/", "-" and "+" wait: a rebuild asked for there is refused.
    for (int t = 1; t <= 40; ++t)
        clock().callAfter(t * 50, [&] {
            ++nestedCalls;
            BuildSoundBank("20", 600, 16000);
        });
    BuildSoundBank("60", 800, 16000);
    EXPECT_GT(nestedCalls, 0);
    EXPECT_EQ(SoundBankSpeedText, "60");
    EXPECT_EQ(LatinCharWave[1], characterImage(1, 100, 800, 16000));
}

TEST_F(SoundBank, EscInTheProgressWindowCancelsOnlyAnExamConversion)
{
    FrmMain& f = main();
    FrmExchangeProgress& p = frmExchangeProgress();
    p.show();
    const struct {
        bool mockExam, startEnabled;
        float bar;
        int key;
        bool cancels;
    } cases[] = {
        {true, false, 5, 27, true}, {true, false, 11, 27, false}, {true, true, 5, 27, false},
        {false, false, 5, 27, false}, {true, false, 5, 'a', false},
    };
    for (const auto& c : cases) {
        ConversionCancelRequested = 0;
        (c.mockExam ? f.optionMogisikenMode : f.optionKikitoriMode).setValue(true);
        f.StartButton_Command.setEnabled(c.startEnabled);
        f.textCwSpeed.setLocked(true);
        p.progressBarExchange.setValue(c.bar);
        p.userType(QString(QChar(c.key)));
        EXPECT_EQ(ConversionCancelRequested, c.cancels ? -1 : 0) << c.bar << c.key;
        EXPECT_EQ(f.textCwSpeed.locked(), !c.cancels);
        EXPECT_EQ(f.StartButton_Command.enabled(), c.startEnabled || c.cancels);
    }
    ConversionCancelRequested = 0;
}
