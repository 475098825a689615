#include "platform/failure.h"
#include "platform/files.h"
#include "synthesis/MakeWaveHeader.h"
#include "synthesis_fixture.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

using WaveFile = TemporaryProgramFolder;

TEST_F(WaveFile, HeaderAndSamplesOfOneDotElementInMemoryAndOnDisk)
{
    ScopedToneOptions options(1, 1);
    BuildDotElement(133, 800, 8000);
    ASSERT_EQ(DotSamples.size(), 2128u);
    const QString file = path("dot.wav");
    WriteWaveFile(file, DotSamples, 8000);

    for (const QByteArray& bytes : {WaveImage(DotSamples, 8000), platform::readWholeFile(file)}) {
        ASSERT_EQ(bytes.size(), 4300);
        EXPECT_EQ(bytes.left(44).toHex(' '),
                  "52 49 46 46 c4 10 00 00 57 41 56 45 66 6d 74 20 10 00 00 00 01 00 01 00 40 1f 00 "
                  "00 80 3e 00 00 02 00 10 00 64 61 74 61 a0 10 00 00");
        for (int i = 0; i < 2128; ++i)
            ASSERT_EQ(qFromLittleEndian<std::int16_t>(bytes.constData() + 44 + 2 * i), DotSamples[i])
                << i;
    }
}

TEST_F(WaveFile, TheHeaderFollowsTheRateAndFailsRatherThanWrap)
{
    const struct {
        std::int32_t rate;
        std::int32_t byteRate;
    } cases[] = {{8000, 16000}, {16000, 32000}};
    for (const auto& c : cases) {
        const WaveHeader h = BuildWaveHeader(c.rate, 1, 16);
        EXPECT_EQ(h.SampleRate, c.rate);
        EXPECT_EQ(h.ByteRate, c.byteRate);
        EXPECT_EQ(h.BlockAlign, 2);
        EXPECT_EQ(h.RiffSize, 0);
        EXPECT_EQ(h.DataSize, 0);
        const QByteArray image = WaveImage({}, c.rate);
        ASSERT_EQ(image.size(), 44);
        EXPECT_EQ(qFromLittleEndian<std::int32_t>(image.constData() + 4), 36);
        EXPECT_EQ(qFromLittleEndian<std::int32_t>(image.constData() + 28), c.byteRate);
        EXPECT_EQ(qFromLittleEndian<std::int32_t>(image.constData() + 40), 0);
    }
    // Fields that cannot hold their value fail instead of wrapping.
    EXPECT_THROW(BuildWaveHeader(INT32_MAX, 2, 16), platform::Failure);
    EXPECT_THROW(BuildWaveHeader(8000, 32767, 16), platform::Failure);
    EXPECT_THROW(WaveImage({1}, INT32_MAX), platform::Failure);
}

TEST_F(WaveFile, AWholeFileIsTheImageAndReplacesAnOlderOneEntirely)
{
    ScopedToneOptions options(1, 1);
    BuildDashElement(50, 800, 16000);
    const QString file = platform::besideProgram("sound/whole.wav");
    platform::writeWholeFile(file, QByteArray(100000, 'x')); // an older, longer file
    QFile(file).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    WriteWaveFile(file, DashSamples, 16000);
    EXPECT_EQ(platform::readWholeFile(file), WaveImage(DashSamples, 16000));
    WriteWaveFile(file, {}, 8000);
    EXPECT_EQ(platform::readWholeFile(file), WaveImage({}, 8000));
    EXPECT_TRUE(QFile::permissions(file) & QFileDevice::ReadOther);
    // Nothing is left beside it, and a folder that is not there fails.
    EXPECT_EQ(QDir(platform::besideProgram("sound")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"whole.wav"});
    EXPECT_THROW(WriteWaveFile(path("missing/x.wav"), DashSamples, 16000), platform::Failure);
    EXPECT_FALSE(QDir(path("missing")).exists());
}
