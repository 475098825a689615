#include "platform/sound/sound_service.h"
#include "platform/virtual_clock.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

using namespace platform;

namespace {

struct WavFormat {
    std::uint32_t rate = 8000;
    int channels = 1;
    int bits = 16;
    int format = 1;
};

void put16(QByteArray& out, std::uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void put32(QByteArray& out, std::uint32_t v)
{
    put16(out, std::uint16_t(v & 0xFFFF));
    put16(out, std::uint16_t(v >> 16));
}

QByteArray pcm16(const std::vector<std::int16_t>& samples)
{
    QByteArray out;
    for (auto s : samples)
        put16(out, std::uint16_t(s));
    return out;
}

// A canonical 44-byte-header image; dataSize overrides the size field.
QByteArray wavImage(const QByteArray& data, WavFormat f = {}, std::optional<std::uint32_t> dataSize = {})
{
    QByteArray out("RIFF");
    put32(out, 36 + data.size());
    out.append("WAVEfmt ");
    put32(out, 16);
    put16(out, f.format);
    put16(out, f.channels);
    put32(out, f.rate);
    put32(out, f.rate * f.channels * f.bits / 8);
    put16(out, f.channels * f.bits / 8);
    put16(out, f.bits);
    out.append("data");
    put32(out, dataSize.value_or(data.size()));
    return out + data;
}

// 16-bit mono at 8000 Hz lasting ms.
QByteArray tone(Tick ms, std::int16_t value = 1000)
{
    return wavImage(pcm16(std::vector<std::int16_t>(ms * 8, value)));
}

} // namespace

// ---- WAV images ------------------------------------------------------------

TEST(ParseWav, ReadsTheFormatsWeWriteAndOnlyTheDataChunk)
{
    QByteArray withList = QByteArray("RIFF") + QByteArray(4, '\0') + "WAVE";
    withList += wavImage(pcm16({5, 6})).mid(12, 24); // the fmt chunk
    withList += QByteArray("LIST\x03\0\0\0abc\0", 12); // odd length, one pad byte
    withList += QByteArray("data\x04\0\0\0", 8) + pcm16({7, 8});

    struct Case {
        const char* name;
        QByteArray image;
        std::vector<std::int16_t> samples;
    } cases[] = {
        {"16-bit mono", wavImage(pcm16({0, 1000, -1000, 32767, -32768})), {0, 1000, -1000, 32767, -32768}},
        {"8-bit is unsigned", wavImage(QByteArray("\x00\x80\xFF", 3), {.bits = 8}), {-32768, 0, 32512}},
        {"stereo is mixed", wavImage(pcm16({1000, 3000, -1000, -2999}), {.channels = 2}), {2000, -1999}},
        {"8-bit stereo", wavImage(QByteArray("\xFF\x01", 2), {.channels = 2, .bits = 8}), {0}},
        {"trailing bytes ignored", wavImage(pcm16({1, 2}) + pcm16({9, 9, 9}) + "junk", {}, 4), {1, 2}},
        {"size beyond the end: whole frames present", wavImage(pcm16({1, 2}) + "x", {}, 1000), {1, 2}},
        {"data size 0 (writer stopped early)", wavImage(pcm16({1, 2}), {}, 0), {}},
        {"other chunks skipped with padding", withList, {7, 8}},
    };
    for (const auto& c : cases) {
        auto pcm = parseWav(c.image);
        ASSERT_TRUE(pcm) << c.name;
        EXPECT_EQ(pcm->samples, c.samples) << c.name;
    }
    auto stereo = parseWav(cases[2].image);
    EXPECT_EQ(stereo->channels, 2);
    EXPECT_EQ(stereo->rate, 8000u);
}

TEST(ParseWav, AHeaderThatDoesNotHoldIsNoSound)
{
    QByteArray good = wavImage(pcm16({1, 2, 3}));
    auto patched = [&](int at, const QByteArray& bytes) { return QByteArray(good).replace(at, bytes.size(), bytes); };
    struct Case {
        const char* name;
        QByteArray image;
    } cases[] = {
        {"empty", QByteArray()},
        {"shorter than the RIFF header", good.left(11)},
        {"not RIFF", patched(0, "RIFX")},
        {"not WAVE", patched(8, "AVI ")},
        {"float samples", wavImage(pcm16({1}), {.format = 3})},
        {"extensible format", wavImage(pcm16({1}), {.format = 0xFFFE})},
        {"24 bits", wavImage(pcm16({1}), {.bits = 24})},
        {"no channels", wavImage(pcm16({1}), {.channels = 0})},
        {"three channels", wavImage(pcm16({1}), {.channels = 3})},
        {"rate 0", wavImage(pcm16({1}), {.rate = 0})},
        {"no data chunk", good.left(36)},
        {"no fmt chunk", patched(12, "junk")},
        {"fmt chunk too short", patched(16, QByteArray("\x0E\0\0\0", 4))},
        {"fmt cut off", good.left(30)},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(parseWav(c.image)) << c.name;
}

TEST(ParseWav, DurationIsFramesOverRateHalvesToEven)
{
    struct Case {
        std::int64_t frames;
        std::uint32_t rate;
        Tick ms;
    } cases[] = {{4, 8000, 0}, {12, 8000, 2}, {20, 8000, 2}, {2205, 44100, 50}, {16000, 16000, 1000}, {0, 8000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(durationMs(c.frames, c.rate), c.ms) << c.frames << " at " << c.rate;
}

// ---- The service on the silent device and virtual time ----------------------

namespace {

// Keeps time like the silent device and keeps what it was handed.
class RecordingDevice : public SilentDevice {
public:
    explicit RecordingDevice(std::vector<Voice>* voices) : voices_(voices) {}
    void start(Voice voice) override
    {
        voices_->push_back(voice);
        SilentDevice::start(std::move(voice));
    }

private:
    std::vector<Voice>* voices_;
};

class SoundServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sound().setDevice(std::make_unique<RecordingDevice>(&voices));
        sound().clearLog();
        sound().enableLog();
    }
    void TearDown() override
    {
        sound().enableLog(false);
        sound().clearLog();
        useSilentSound();
    }
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    ScopedVirtualClock vc {1000};
    QTemporaryDir dir;
    std::vector<Voice> voices;
};

} // namespace

TEST_F(SoundServiceTest, ANewPlayStopsTheOldAndBeepStopsAPlayingSound)
{
    EXPECT_TRUE(sound().playMemory(tone(1000), SND_MEMORY | SND_ASYNC, "A"));
    EXPECT_EQ(vc->now(), 1000); // asynchronous: returns at once
    vc->advance(200);
    EXPECT_TRUE(sound().playMemory(tone(300), SND_MEMORY | SND_ASYNC, "R"));
    vc->advance(299);
    EXPECT_TRUE(sound().isPlaying());
    vc->advance(1);
    EXPECT_FALSE(sound().isPlaying()); // A would have lasted until 2000

    sound().playMemory(tone(1000), SND_MEMORY | SND_ASYNC, "T");
    sound().beep(800, 100);
    EXPECT_FALSE(sound().isPlaying());

    sound().playMemory(tone(1000), SND_MEMORY | SND_ASYNC, "E");
    sound().stop();
    EXPECT_FALSE(sound().isPlaying());

    auto log = sound().log();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[1].what, "R");
    EXPECT_EQ(log[1].at, 1200);
    EXPECT_EQ(log[1].flags, SND_MEMORY | SND_ASYNC);
    EXPECT_EQ(log[1].durationMs, 300);
    EXPECT_EQ(log[1].hz, 0);
    EXPECT_TRUE(log[1].played);
    EXPECT_EQ(log[3].what, "beep");
    EXPECT_EQ(log[3].hz, 800);
    EXPECT_EQ(log[3].durationMs, 100);
}

TEST_F(SoundServiceTest, NoStopProbeFailsAtOnceWhilePlayingAndPlaysSynchronouslyAfter)
{
    const QString probe = writeFile("sound.wav", tone(250));
    ASSERT_TRUE(sound().playFile(writeFile("exam.wav", tone(2000)), SND_FILENAME | SND_NODEFAULT | SND_ASYNC));
    vc->advance(800);
    EXPECT_FALSE(sound().playFile(probe, SND_NODEFAULT | SND_NOSTOP));
    EXPECT_EQ(vc->now(), 1800);
    EXPECT_TRUE(sound().isPlaying()); // the refused probe left the exam alone

    vc->advance(1200); // the exam has ended at 3000
    EXPECT_TRUE(sound().playFile(probe, SND_NODEFAULT | SND_NOSTOP));
    EXPECT_EQ(vc->now(), 3250);
    EXPECT_FALSE(sound().isPlaying());

    auto log = sound().log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_FALSE(log[1].played);
    EXPECT_EQ(log[1].what, probe);
    EXPECT_TRUE(log[2].played);
    EXPECT_EQ(log[2].durationMs, 250);
}

TEST_F(SoundServiceTest, WhatPlaysIsFixedAtTheCall)
{
    // The sound bank rewrites its images in place; a playing image must not change.
    QByteArray image = tone(500, 1234);
    char* bytes = image.data();
    ASSERT_TRUE(sound().playMemory(image, SND_MEMORY | SND_ASYNC, "A"));
    std::memset(bytes + 40, 0, image.size() - 40); // data size 0, samples zeroed

    // A file is read whole at the call: rewriting or deleting it changes nothing.
    const QString path = writeFile("exam.wav", tone(700, 99));
    vc->advance(500);
    ASSERT_TRUE(sound().playFile(path, SND_FILENAME | SND_ASYNC));
    writeFile("exam.wav", tone(10, -5));
    vc->advance(699);
    EXPECT_TRUE(sound().isPlaying());
    QFile::remove(path);
    vc->advance(1);
    EXPECT_FALSE(sound().isPlaying());

    ASSERT_EQ(voices.size(), 2u);
    EXPECT_EQ(*voices[0].samples, std::vector<std::int16_t>(4000, 1234));
    EXPECT_EQ(voices[0].durationMs, 500);
    EXPECT_EQ(*voices[1].samples, std::vector<std::int16_t>(5600, 99));
}

TEST_F(SoundServiceTest, BeepBlocksForItsLengthAndRunsNoScheduledCalls)
{
    struct Case {
        std::int64_t hz, ms;
        Tick blocked;
        bool played;
    } cases[] = {
        {800, 250, 250, true}, {0, 100, 100, true}, // hz 0: silence for its length
        {800, 0, 0, false}, {800, -5, 0, false}, // returns at once
    };
    for (const auto& c : cases) {
        bool ran = false;
        auto id = vc->callAfter(1, [&] { ran = true; });
        const Tick before = vc->now();
        const auto yields = vc->yields();
        sound().beep(c.hz, c.ms);
        EXPECT_EQ(vc->now() - before, c.blocked) << c.hz << " Hz " << c.ms << " ms";
        EXPECT_FALSE(ran);
        EXPECT_EQ(vc->yields(), yields);
        EXPECT_FALSE(sound().isPlaying());
        EXPECT_EQ(sound().log().back().played, c.played);
        vc->cancel(id);
    }
}

TEST_F(SoundServiceTest, SynchronousFilePlayBlocksForTheFilesLength)
{
    const QString path = writeFile("sample.wav", wavImage(pcm16(std::vector<std::int16_t>(7000, 1)), {.rate = 16000}));
    bool ran = false;
    vc->callAfter(10, [&] { ran = true; });
    EXPECT_TRUE(sound().playFile(path, SND_SYNC));
    EXPECT_EQ(vc->now(), 1000 + 438); // 437.5 ms, halves to even
    EXPECT_FALSE(ran);
    EXPECT_FALSE(sound().isPlaying());
}

TEST_F(SoundServiceTest, BadOrMissingSoundPlaysNothingAndReturnsFalse)
{
    QByteArray bad = tone(300);
    bad.replace(8, 4, "WAVX");
    const QString badFile = writeFile("bad.wav", bad);
    const QString missing = dir.filePath("missing.wav");
    struct Case {
        const char* name;
        std::function<bool()> play;
    } cases[] = {
        {"bad image", [&] { return sound().playMemory(bad, SND_MEMORY | SND_ASYNC, "bad"); }},
        {"bad file, synchronous", [&] { return sound().playFile(badFile, SND_SYNC); }},
        {"missing file", [&] { return sound().playFile(missing, SND_FILENAME | SND_NODEFAULT | SND_ASYNC); }},
        {"missing file without NoDefault", [&] { return sound().playFile(missing, SND_ASYNC); }},
        {"a folder", [&] { return sound().playFile(dir.path(), SND_SYNC); }},
    };
    for (const auto& c : cases) {
        sound().playMemory(tone(1000), SND_MEMORY | SND_ASYNC, "before");
        const Tick before = vc->now();
        EXPECT_FALSE(c.play()) << c.name;
        EXPECT_EQ(vc->now(), before) << c.name;
        // Like any play, it first stopped what was sounding.
        EXPECT_FALSE(sound().isPlaying()) << c.name;
        EXPECT_FALSE(sound().log().back().played) << c.name;
        vc->advance(10);
    }
    // The end-of-playback probe with its file gone never succeeds.
    EXPECT_FALSE(sound().playFile(missing, SND_NODEFAULT | SND_NOSTOP));
}

TEST_F(SoundServiceTest, OnlyTheDataChunkPlays)
{
    // 100 ms of data, then a longer old tail that an earlier build left behind.
    QByteArray image
        = wavImage(pcm16(std::vector<std::int16_t>(800, 7)) + pcm16(std::vector<std::int16_t>(8000, -7)), {}, 1600);
    ASSERT_TRUE(sound().playMemory(image, SND_MEMORY | SND_ASYNC, "H"));
    EXPECT_EQ(sound().log().back().durationMs, 100);
    vc->advance(100);
    EXPECT_FALSE(sound().isPlaying());
    EXPECT_EQ(*voices.back().samples, std::vector<std::int16_t>(800, 7));
}
