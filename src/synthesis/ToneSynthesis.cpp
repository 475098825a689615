#include "synthesis/ToneSynthesis.h"

#include "platform/failure.h"
#include "synthesis/ToneOptions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

SampleBuffer DotSamples;
SampleBuffer DashSamples;

namespace {

using platform::Failure;

constexpr std::int64_t maxSamples = MaxWaveSamples;

constexpr std::int16_t elementAmplitude = 10000;
// Indexed by the scroll value 1..5.
constexpr double rampMsOfQuality[] = {60, 35, 20, 8, 0};
constexpr double gainDbOfVolume[] = {0, 2, 5, 8, 10};

// Halves to even; a level beyond the 16-bit range is clipped rather than
// wrapped, and nothing that is not a number ever becomes a sample.
std::int16_t toSample(double value)
{
    if (!std::isfinite(value))
        throw Failure(QStringLiteral("sample is not a finite number"));
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(value), -32768.0, 32767.0));
}

// Sample count of ms at rate, rounded; fails on a negative or unusable count.
std::int64_t samplesOf(std::int32_t sampleRate, double ms)
{
    const double count = std::nearbyint(static_cast<double>(sampleRate) * ms / 1000);
    if (!std::isfinite(count) || count < 0 || count > maxSamples)
        throw Failure(QStringLiteral("%1 ms at %2 samples per second is no sample count")
                          .arg(ms)
                          .arg(sampleRate));
    return static_cast<std::int64_t>(count);
}

// Ramp length in samples; a ramp as long as the tone or longer would reach past
// its tone, so it is shortened to half the tone.
double rampSamples(std::int32_t sampleRate, double ms, std::size_t toneSamples)
{
    const double m = static_cast<double>(sampleRate) * ms / 1000;
    const double n = static_cast<double>(toneSamples);
    return m >= n ? n / 2 : m;
}

void buildElement(SampleBuffer& target, int toneUnits, std::int16_t unitMs, std::int16_t toneHz,
                  std::int32_t sampleRate)
{
    if (unitMs <= 0 || toneHz <= 0 || sampleRate < MinElementSampleRate || sampleRate > MaxElementSampleRate)
        throw Failure(QStringLiteral("no element at unit %1 ms, tone %2 Hz, %3 samples per second")
                          .arg(unitMs)
                          .arg(toneHz)
                          .arg(sampleRate));
    const int quality = ToneQualityValue();
    const int volume = ToneVolumeValue();
    if (quality < 1 || quality > 5 || volume < 1 || volume > 5)
        throw Failure(
            QStringLiteral("tone quality %1 or volume %2 outside 1..5").arg(quality).arg(volume));
    ToneSpec spec;
    spec.RiseMs = spec.FallMs = rampMsOfQuality[quality - 1];
    spec.GainDb = gainDbOfVolume[volume - 1];
    spec.FrequencyHz = toneHz;
    // Wide: three units of a long unit pass the 16-bit range.
    spec.DurationMs = static_cast<double>(toneUnits) * unitMs;
    spec.PhaseRad = 0;
    SampleBuffer element;
    GenerateTone(element, sampleRate, elementAmplitude, spec, LinearEnvelope);
    PadSilence(element, sampleRate, unitMs, 0);
    target = std::move(element);
}

} // namespace

double GetPi() { return 4 * std::atan(1.0); }

void GenerateTone(SampleBuffer& samples, std::int32_t sampleRate, std::int16_t amplitude,
                  const ToneSpec& spec, std::int16_t envelopeKind)
{
    const double f = spec.FrequencyHz;
    if (sampleRate <= 0 || !(f > 0))
        throw Failure(
            QStringLiteral("no tone of %1 Hz at %2 samples per second").arg(f).arg(sampleRate));
    const double rate = sampleRate;
    const double pi = GetPi();
    // Full level up to 0.45 of the rate, falling linearly to nothing at half of it.
    const double b = std::clamp((rate / 2 - f) * 20 / rate, 0.0, 1.0);
    // Makes up for the level lost by sampling at the middle of each period.
    const double x = pi * f / rate;
    const double g = x / std::sin(x);
    const double level = amplitude * std::pow(10.0, spec.GainDb / 20);

    const double last = std::nearbyint(rate * spec.DurationMs / 1000 - 1);
    if (!std::isfinite(last) || last < -1 || last + 1 > maxSamples)
        throw Failure(QStringLiteral("no tone of %1 ms").arg(spec.DurationMs));
    SampleBuffer tone(static_cast<std::size_t>(last + 1));
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] =
            toSample(g * b * level *
                     std::sin(2 * pi * f * (static_cast<double>(i) + 0.5) / rate + spec.PhaseRad));
    ApplyEnvelope(tone, sampleRate, spec.RiseMs, spec.FallMs, envelopeKind);
    samples = std::move(tone);
}

void ApplyEnvelope(SampleBuffer& samples, std::int32_t sampleRate, double riseMs, double fallMs,
                   std::int16_t kind)
{
    if (kind != LinearEnvelope || samples.empty())
        return;
    if (!std::isfinite(riseMs) || !std::isfinite(fallMs))
        throw Failure(QStringLiteral("ramp is not a finite length"));
    const double ub = static_cast<double>(samples.size() - 1);
    if (riseMs != 0) {
        const double m = rampSamples(sampleRate, riseMs, samples.size());
        if (m > 0) {
            const double end = std::min(std::nearbyint(m - 1), ub);
            for (double i = 0; i <= end; ++i) {
                auto& s = samples[static_cast<std::size_t>(i)];
                s = toSample(i / m * s);
            }
        }
    }
    if (fallMs != 0) {
        const double m = rampSamples(sampleRate, fallMs, samples.size());
        if (m > 0) {
            for (double i = std::max(std::nearbyint(ub - m), 0.0); i <= ub; ++i) {
                auto& s = samples[static_cast<std::size_t>(i)];
                s = toSample((ub - i) / m * s);
            }
        }
    }
}

void PadSilence(SampleBuffer& samples, std::int32_t sampleRate, double leadMs, double trailMs)
{
    const std::int64_t lead = samplesOf(sampleRate, leadMs);
    const std::int64_t trail = samplesOf(sampleRate, trailMs);
    if (lead == 0 && trail == 0)
        return;
    const auto n = static_cast<std::int64_t>(samples.size());
    if (lead + n + trail > maxSamples)
        throw Failure(QStringLiteral("padded buffer too long"));
    // Growing past the capacity moves the samples once, to a buffer with room to
    // spare: appends stay amortised constant per sample.
    samples.insert(samples.end(), static_cast<std::size_t>(trail), 0);
    samples.insert(samples.begin(), static_cast<std::size_t>(lead), 0);
}

void JoinBuffers(SampleBuffer& a, std::span<const SampleBuffer* const> others)
{
    std::vector<std::size_t> lengths;
    std::int64_t total = static_cast<std::int64_t>(a.size());
    for (const SampleBuffer* b : others) {
        lengths.push_back(b->size());
        total += static_cast<std::int64_t>(b->size());
    }
    if (total > maxSamples)
        throw Failure(QStringLiteral("joined buffer too long"));
    std::size_t at = a.size();
    a.resize(static_cast<std::size_t>(total));
    // a's first samples never change, so a among the others still gives what it
    // held before the join; the source and the new tail never overlap.
    auto length = lengths.begin();
    for (const SampleBuffer* b : others) {
        if (*length)
            std::memcpy(a.data() + at, b->data(), *length * sizeof(std::int16_t));
        at += *length++;
    }
}

void BuildDotElement(std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate)
{
    buildElement(DotSamples, 1, unitMs, toneHz, sampleRate);
}

void BuildDashElement(std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate)
{
    buildElement(DashSamples, 3, unitMs, toneHz, sampleRate);
}
