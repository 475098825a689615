#pragma once
#include <climits>
#include <cstdint>
#include <climits>
#include <initializer_list>
#include <span>
#include <vector>

// Morse elements as 16-bit samples: a compensated, band-limited sine tone with a
// gain and linear ramps, silence padding, and the joins that make characters.
// Failures (a unit, tone or rate that gives no element, a buffer too long for a
// WAV file) throw platform::Failure and leave the target buffer as it was.

// Growable array of 16-bit signed samples, one channel, indexed from 0.
using SampleBuffer = std::vector<std::int16_t>;

// A WAV file counts its data bytes in a signed 32-bit field, so no buffer may
// hold more samples than that field can describe.
constexpr std::int64_t MaxWaveSamples = (INT32_MAX - 36) / 2;

// The shared element buffers. After BuildDotElement DotSamples holds one unit of
// silence and a one-unit tone, after BuildDashElement DashSamples one unit of
// silence and a three-unit tone. Character builders join into the buffer of the
// first element, so rebuild every element right before joining.
extern SampleBuffer DotSamples;
extern SampleBuffer DashSamples;

struct ToneSpec {
    double FrequencyHz = 0;
    double DurationMs = 0;
    double RiseMs = 0;
    double FallMs = 0;
    double GainDb = 0;
    double PhaseRad = 0;
};

// Envelope kind of GenerateTone and ApplyEnvelope: linear ramps; any other kind
// leaves the tone without ramps.
constexpr std::int16_t LinearEnvelope = 1;

double GetPi();

// Replaces samples with the tone of spec at sampleRate, level amplitude x gain,
// then applies the envelope. Samples that would pass the 16-bit range are
// clipped. Fails when the rate or the frequency is 0 or less.
void GenerateTone(SampleBuffer& samples, std::int32_t sampleRate, std::int16_t amplitude,
                  const ToneSpec& spec, std::int16_t envelopeKind);

// Linear fade-in over the first riseMs and fade-out over the last fallMs. A ramp
// as long as the tone or longer is shortened to half the tone.
void ApplyEnvelope(SampleBuffer& samples, std::int32_t sampleRate, double riseMs, double fallMs,
                   std::int16_t kind);

// Inserts leadMs of silence before the content and appends trailMs after it. The
// buffer grows in place, so trailing silence costs only what it adds.
void PadSilence(SampleBuffer& samples, std::int32_t sampleRate, double leadMs, double trailMs);

// a becomes itself followed by every further buffer in order. All lengths are
// read first, so a may stand again among the others and then contributes what it
// held before the join.
void JoinBuffers(SampleBuffer& a, std::span<const SampleBuffer* const> others);
inline void JoinBuffers(SampleBuffer& a, std::initializer_list<const SampleBuffer*> others)
{
    JoinBuffers(a, std::span(others.begin(), others.size()));
}

inline void JoinBuffers2(SampleBuffer& a, const SampleBuffer& b) { JoinBuffers(a, {&b}); }

// The rates an element is built at: the options offer 8000 and 16000; a rate
// far beyond what a sound device plays would only fill memory.
constexpr std::int32_t MinElementSampleRate = 8000;
constexpr std::int32_t MaxElementSampleRate = 48000;

// Rebuild DotSamples / DashSamples from the unit, the tone and the rate, with the
// options dialog's current tone quality and volume. Fail when the unit or the
// tone is 0 or less, the rate is outside MinElementSampleRate..MaxElementSampleRate,
// or the quality or volume is outside 1..5.
void BuildDotElement(std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate);
void BuildDashElement(std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate);
