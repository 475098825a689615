#include "platform/failure.h"
#include "synthesis/ToneSynthesis.h"
#include "synthesis_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

SampleBuffer tone(double hz, double ms, int rate = 8000, double rampMs = 0, double gainDb = 0,
                  std::int16_t kind = LinearEnvelope)
{
    SampleBuffer s;
    GenerateTone(s, rate, 10000, ToneSpec{hz, ms, rampMs, rampMs, gainDb, 0}, kind);
    return s;
}

// The tone part of an element: what follows its unit of leading silence.
SampleBuffer tonePart(const SampleBuffer& element, int silentSamples)
{
    for (int i = 0; i < silentSamples; ++i)
        EXPECT_EQ(element[i], 0) << "leading silence at " << i;
    return SampleBuffer(element.begin() + silentSamples, element.end());
}

std::int16_t scaled(double factor, std::int16_t sample)
{
    return static_cast<std::int16_t>(std::nearbyint(factor * sample));
}

} // namespace

TEST(GenerateTone, SamplesAtMidPeriodWithCompensatedLevel)
{
    const std::int16_t period[] = {3142,  8225,  10166,  8225,  3142,
                                   -3142, -8225, -10166, -8225, -3142};
    const SampleBuffer s = tone(800, 1000);
    ASSERT_EQ(s.size(), 8000u);
    for (std::size_t i = 0; i < s.size(); ++i)
        ASSERT_EQ(s[i], period[i % 10]) << i;
}

TEST(GenerateTone, LevelFallsOffNearHalfTheRate)
{
    // Full level up to 3600 Hz at 8000 samples per second, b = 0.75 at 3700 and
    // 0.5 at 3800, silence from 4000 Hz.
    const SampleBuffer b075 = tone(3700, 10);
    const SampleBuffer b05 = tone(3800, 10);
    EXPECT_EQ(SampleBuffer(b075.begin(), b075.begin() + 5),
              (SampleBuffer{10897, -10295, 9124, -7449, 5362}));
    EXPECT_EQ(SampleBuffer(b05.begin(), b05.begin() + 5),
              (SampleBuffer{7461, -7278, 6915, -6381, 5691}));
    for (double hz : {4000.0, 4001.0, 6000.0, 8000.0}) {
        const SampleBuffer s = tone(hz, 100);
        ASSERT_EQ(s.size(), 800u);
        EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](std::int16_t v) { return v == 0; })) << hz;
    }
}

TEST(GenerateTone, LevelsBeyondSixteenBitsAreClipped)
{
    // At 10 dB a 2400 Hz tone peaks at about 36840 on every fourth sample.
    const SampleBuffer loud = tone(2400, 100, 8000, 0, 10);
    const SampleBuffer quiet = tone(2400, 100, 8000, 0, 0);
    ASSERT_EQ(loud.size(), quiet.size());
    EXPECT_EQ(*std::max_element(loud.begin(), loud.end()), 32767);
    EXPECT_EQ(*std::min_element(loud.begin(), loud.end()), -32768);
    int clipped = 0;
    for (std::size_t i = 0; i < loud.size(); ++i) {
        const double expected = quiet[i] * std::pow(10.0, 0.5);
        if (std::abs(expected) > 32767.5) {
            ++clipped;
            EXPECT_EQ(loud[i], expected > 0 ? 32767 : -32768) << i;
        } else {
            EXPECT_NEAR(loud[i], expected, 2.0) << i; // in range: the plain level
        }
    }
    EXPECT_GT(clipped, 0);
}

TEST(GenerateTone, UnusableRateOrFrequencyFailsAndKeepsTheBuffer)
{
    SampleBuffer s{1, 2, 3};
    const ToneSpec spec{800, 100, 0, 0, 0, 0};
    EXPECT_THROW(GenerateTone(s, 0, 10000, spec, 1), platform::Failure);
    EXPECT_THROW(GenerateTone(s, -8000, 10000, spec, 1), platform::Failure);
    for (double hz : {0.0, -800.0, std::nan("")})
        EXPECT_THROW(GenerateTone(s, 8000, 10000, ToneSpec{hz, 100, 0, 0, 0, 0}, 1),
                     platform::Failure)
            << hz;
    EXPECT_THROW(GenerateTone(s, 8000, 10000, ToneSpec{800, 100, 0, 0, 0, std::nan("")}, 1),
                 platform::Failure);
    EXPECT_EQ(s, (SampleBuffer{1, 2, 3}));
    // A tone of no duration simply has no samples.
    GenerateTone(s, 8000, 10000, ToneSpec{800, 0, 0, 0, 0, 0}, 1);
    EXPECT_TRUE(s.empty());
}

TEST(ApplyEnvelope, OtherKindsLeaveTheToneAlone)
{
    EXPECT_EQ(tone(800, 133, 8000, 60, 0, 0), tone(800, 133));
    EXPECT_EQ(tone(800, 133, 8000, 60, 0, 2), tone(800, 133));
}

TEST(BuildDotElement, QualityFiveHasNoRampsAndSilenceLeadsTheTone)
{
    ScopedToneOptions options(5, 1);
    BuildDotElement(133, 800, 8000);
    ASSERT_EQ(DotSamples.size(), 2128u);
    const SampleBuffer t = tonePart(DotSamples, 1064);
    EXPECT_EQ(t, tone(800, 133));
    EXPECT_EQ(t[0], 3142);
}

TEST(BuildDotElement, QualityOneRampsOverTheEdgesOfTheDot)
{
    // 45 characters per minute: a unit of 133 ms, 1064 tone samples, ramps of
    // 60 ms = 480 samples; the rise takes factors 0/480 .. 479/480, the fall
    // covers the last 481 samples from factor 480/480 down to 0.
    ScopedToneOptions options(1, 1);
    BuildDotElement(133, 800, 8000);
    ASSERT_EQ(DotSamples.size(), 2128u);
    const SampleBuffer t = tonePart(DotSamples, 1064);
    const SampleBuffer plain = tone(800, 133);
    for (int i = 0; i < 1064; ++i) {
        if (i < 480)
            ASSERT_EQ(t[i], scaled(i / 480.0, plain[i])) << i;
        else if (i < 583)
            ASSERT_EQ(t[i], plain[i]) << i;
        else
            ASSERT_EQ(t[i], scaled((1063 - i) / 480.0, plain[i])) << i;
    }
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[1063], 0);
    EXPECT_NE(t[583], 0);
}

TEST(BuildDotElement, ARampThatDoesNotFitTheDotIsShortenedToHalfTheTone)
{
    // 100 characters per minute: the 60 ms ramps of quality 1 are as long as the
    // 60 ms dot (480 samples), so each ramp takes 240 samples instead.
    ScopedToneOptions options(1, 1);
    BuildDotElement(60, 800, 8000);
    ASSERT_EQ(DotSamples.size(), 960u);
    const SampleBuffer t = tonePart(DotSamples, 480);
    const SampleBuffer plain = tone(800, 60);
    for (int i = 0; i < 480; ++i) {
        const double rise = i < 240 ? i / 240.0 : 1.0;
        const double fall = i >= 239 ? (479 - i) / 240.0 : 1.0;
        const std::int16_t afterRise = scaled(rise, plain[i]);
        ASSERT_EQ(t[i], scaled(fall, afterRise)) << i;
    }
    // The dash, three units long, keeps its full ramps.
    BuildDashElement(60, 800, 8000);
    const SampleBuffer d = tonePart(DashSamples, 480);
    const SampleBuffer plainDash = tone(800, 180);
    EXPECT_EQ(d[479], scaled(479 / 480.0, plainDash[479]));
    EXPECT_EQ(d[480], plainDash[480]);
}

TEST(BuildDashElement, ThreeUnitsOfALongUnitAreComputedWide)
{
    // 3 x 20000 ms passes the 16-bit range.
    ScopedToneOptions options(5, 1);
    BuildDashElement(20000, 800, 8000);
    EXPECT_EQ(DashSamples.size(), 8u * 20000 + 24u * 20000);
    EXPECT_EQ(DashSamples[160000], 3142);
}

TEST(BuildElements, UnusableSettingsFailAndKeepTheElements)
{
    ScopedToneOptions options(3, 3);
    BuildDotElement(133, 800, 8000);
    BuildDashElement(133, 800, 8000);
    const SampleBuffer dot = DotSamples, dash = DashSamples;
    const struct {
        int unit, hz, rate;
    } cases[] = {{0, 800, 8000},    {-60, 800, 8000}, {133, 0, 8000},
                 {133, -800, 8000}, {133, 800, 0},    {133, 800, -8000},
                 // Rates from a damaged settings file: no element is sized by them.
                 {133, 800, 7999}, {133, 800, 48001}, {133, 800, 4000000},
                 {133, 800, 2000000000}, {133, 800, 1073757824}};
    for (const auto& c : cases) {
        EXPECT_THROW(BuildDotElement(c.unit, c.hz, c.rate), platform::Failure)
            << c.unit << " " << c.hz << " " << c.rate;
        EXPECT_THROW(BuildDashElement(c.unit, c.hz, c.rate), platform::Failure)
            << c.unit << " " << c.hz << " " << c.rate;
    }
    for (auto [quality, volume] : {std::pair{0, 3}, {6, 3}, {3, 0}, {3, 6}}) {
        SetToneQualityValue(quality);
        SetToneVolumeValue(volume);
        EXPECT_THROW(BuildDotElement(133, 800, 8000), platform::Failure) << quality << volume;
    }
    EXPECT_EQ(DotSamples, dot);
    EXPECT_EQ(DashSamples, dash);
}

TEST(BuildElements, VolumeStepsGiveTheirGain)
{
    const double gainDb[] = {0, 2, 5, 8, 10};
    for (int volume = 1; volume <= 5; ++volume) {
        ScopedToneOptions options(5, volume);
        BuildDotElement(60, 600, 16000);
        ASSERT_EQ(DotSamples.size(), 1920u);
        EXPECT_EQ(tonePart(DotSamples, 960), tone(600, 60, 16000, 0, gainDb[volume - 1])) << volume;
    }
}

TEST(PadSilence, AddsRoundedSilenceAroundTheContent)
{
    SampleBuffer s{5, -6, 7};
    PadSilence(s, 8000, 0, 0);
    EXPECT_EQ(s, (SampleBuffer{5, -6, 7}));
    // 0.25 ms = 2 samples; 0.0625 ms = 0.5 sample rounds to 0, 0.1875 ms = 1.5 to 2.
    PadSilence(s, 8000, 0.25, 0.0625);
    EXPECT_EQ(s, (SampleBuffer{0, 0, 5, -6, 7}));
    PadSilence(s, 8000, 0, 0.1875);
    EXPECT_EQ(s, (SampleBuffer{0, 0, 5, -6, 7, 0, 0}));
    EXPECT_THROW(PadSilence(s, 8000, -1, 0), platform::Failure);
    EXPECT_THROW(PadSilence(s, 8000, 0, std::nan("")), platform::Failure);
    EXPECT_EQ(s.size(), 7u);
}

TEST(JoinBuffers, TheFirstBufferMayStandAgainAmongTheOthers)
{
    ScopedToneOptions options(2, 2);
    BuildDotElement(60, 700, 8000);
    BuildDashElement(60, 700, 8000);
    const SampleBuffer dot = DotSamples, dash = DashSamples;

    JoinBuffers2(DotSamples, DotSamples); // the letter I
    EXPECT_EQ(DotSamples.size(), 2 * dot.size());
    EXPECT_EQ(SampleBuffer(DotSamples.begin(), DotSamples.begin() + dot.size()), dot);
    EXPECT_EQ(SampleBuffer(DotSamples.begin() + dot.size(), DotSamples.end()), dot);

    DotSamples = dot;
    JoinBuffers(DotSamples, {&DashSamples, &DotSamples, &DashSamples, &DotSamples, &DashSamples}); // the period
    SampleBuffer period;
    for (const SampleBuffer* e : {&dot, &dash, &dot, &dash, &dot, &dash})
        period.insert(period.end(), e->begin(), e->end());
    EXPECT_EQ(DotSamples, period);
    EXPECT_EQ(DashSamples, dash);

    SampleBuffer hh{1, 2};
    JoinBuffers(hh, {&hh, &hh, &hh, &hh, &hh, &hh, &hh});
    EXPECT_EQ(hh.size(), 16u);
    EXPECT_EQ(hh[14], 1);
    EXPECT_EQ(hh[15], 2);
}
