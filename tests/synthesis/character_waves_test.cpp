#include "platform/failure.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"
#include "synthesis/CharacterWaves.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/ToneSynthesis.h"
#include "synthesis_fixture.h"

#include <QtEndian>
#include <gtest/gtest.h>

#include <set>

namespace {

QByteArray fileOf(const char* stem)
{
    return platform::readWholeFile(
        platform::besideProgram(QStringLiteral("sound/%1.wav").arg(QLatin1String(stem))));
}

SampleBuffer samplesOf(const QByteArray& file)
{
    SampleBuffer s((file.size() - 44) / 2);
    qFromLittleEndian<std::int16_t>(file.constData() + 44, static_cast<qsizetype>(s.size()),
                                    s.data());
    return s;
}

} // namespace

using CharacterWaves = TemporaryProgramFolder;

TEST_F(CharacterWaves, EveryFileHoldsItsCodeWithAUnitOfSilenceBeforeEachElement)
{
    // 45 characters per minute: a unit of 133 ms, 1064 samples at 8000 per second.
    ScopedToneOptions options(1, 1);
    platform::ScopedVirtualClock vc;
    BuildDotElement(133, 800, 8000);
    BuildDashElement(133, 800, 8000);
    const SampleBuffer dot = DotSamples, dash = DashSamples;
    for (int row = 1; row <= 72; ++row) {
        const MorseRow& r = MorseRowAt(row);
        // Leave the element buffers as another character left them.
        JoinBuffers2(DotSamples, DashSamples);
        QByteArray image;
        WriteCharacterWave(row, 133, 800, 8000, image);
        const QByteArray file = fileOf(r.stem);
        EXPECT_EQ(image, file) << r.stem; // what the sound bank keeps
        const qsizetype samples = (r.n + 1) * 1064;
        ASSERT_EQ(file.size(), 44 + 2 * samples) << r.stem;
        EXPECT_EQ(qFromLittleEndian<std::int32_t>(file.constData() + 4), 2 * samples + 36);
        EXPECT_EQ(qFromLittleEndian<std::int32_t>(file.constData() + 40), 2 * samples);
        SampleBuffer expected;
        for (const char* c = r.code; *c; ++c) {
            const SampleBuffer& e = *c == '.' ? dot : dash;
            expected.insert(expected.end(), e.begin(), e.end());
        }
        EXPECT_EQ(samplesOf(file), expected) << r.stem << " " << r.code;
    }
    EXPECT_EQ(fileOf("A").size(), 12812);
    EXPECT_EQ(samplesOf(fileOf("E")).size(), 2128u);
    EXPECT_EQ(samplesOf(fileOf("0")).size(), 21280u);
    EXPECT_EQ(fileOf("EP").mid(24, 4).toHex(), "401f0000"); // 8000 samples per second
}

TEST_F(CharacterWaves, SixWritersWaitThreeUnitsTimesTheCodeInterval)
{
    const std::set<QString> waiting = {".", ",", "/", "-", "+", "ホレ"};
    const struct {
        float factor;
        platform::Tick wait;
    } cases[] = {{1.0f, 399}, {1.1f, 439}, {1.5f, 598}}; // 598.5 rounds to even
    for (const auto& c : cases) {
        ScopedToneOptions options(1, 1, c.factor);
        platform::ScopedVirtualClock vc;
        for (int row = 1; row <= 72; ++row) {
            const QString key = QString::fromUtf16(MorseRowAt(row).key);
            const platform::Tick before = vc->now();
            QByteArray image;
            WriteCharacterWave(row, 133, 800, 8000, image);
            EXPECT_EQ(vc->now() - before, waiting.count(key) ? c.wait : 0)
                << key.toStdString() << " factor " << c.factor;
        }
    }
}

TEST_F(CharacterWaves, AWaitingWriterLetsEventsRunOnlyAfterItsFileIsWritten)
{
    platform::ScopedVirtualClock vc;
    const int period = MorseRowOfLatin(37);
    qsizetype sizeSeen = -1;
    vc->callAt(vc->now() + 1, [&] { sizeSeen = fileOf("EP").size(); });
    QByteArray image;
    WriteCharacterWave(period, 133, 800, 8000, image);
    EXPECT_EQ(sizeSeen, 44 + 2 * 18 * 1064);
}

TEST_F(CharacterWaves, AnElementThatCannotBeBuiltLeavesTheOldFileAndGivesNoImage)
{
    platform::ScopedVirtualClock vc;
    const int a = MorseRowOfLatin(1);
    QByteArray image;
    WriteCharacterWave(a, 133, 800, 8000, image);
    const QByteArray before = fileOf("A");
    const struct {
        int row;
        std::int16_t unit, tone;
        std::int32_t rate;
    } cases[] = {{a, 0, 800, 8000},   {a, 133, 0, 8000}, {a, 133, 800, 0},
                 {MorseRowOfLatin(37), 0, 800, 8000}, // a waiting writer: no wait either
                 {0, 133, 800, 8000}, {73, 133, 800, 8000}};
    for (const auto& c : cases) {
        image.clear();
        const platform::Tick start = vc->now();
        EXPECT_THROW(WriteCharacterWave(c.row, c.unit, c.tone, c.rate, image), platform::Failure)
            << c.row << " " << c.unit << " " << c.tone << " " << c.rate;
        EXPECT_TRUE(image.isEmpty());
        EXPECT_EQ(vc->now(), start);
    }
    EXPECT_EQ(fileOf("A"), before);
}

// The sound bank keeps the sound in memory when the folder cannot be written.
TEST_F(CharacterWaves, AFileThatCannotBeWrittenFailsTheWriterAfterHandingBackItsBytes)
{
    platform::ScopedVirtualClock vc;
    const int period = MorseRowOfLatin(37);
    QByteArray written;
    WriteCharacterWave(period, 133, 800, 8000, written);

    platform::setProgramFolder(path("elsewhere"));
    QByteArray image;
    const platform::Tick start = vc->now();
    EXPECT_THROW(WriteCharacterWave(period, 133, 800, 8000, image), platform::Failure);
    EXPECT_EQ(image, written);
    EXPECT_EQ(vc->now(), start); // the wait belongs to a written file
}
