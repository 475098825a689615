#pragma once
#include "platform/clock.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

using SteadyTime = std::chrono::steady_clock::time_point;

// One thing for the device to sound: a shared, never modified sample buffer, or a
// sine tone that the device generates as it goes (a Beep may be very long).
struct Voice {
    std::uint32_t rate = 0; // of samples; 0 for a tone (the device picks)
    std::shared_ptr<const std::vector<std::int16_t>> samples;
    std::int64_t hz = 0; // tone frequency; 0 or less is silence
    Tick durationMs = 0;
    std::uint64_t id = 0; // the play's number, for firstFrame reports
};

// An output for the sound service's one voice. Called from the UI thread only.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    virtual QString name() const = 0;
    // Replaces whatever is sounding with voice and returns at once.
    virtual void start(Voice voice) = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() = 0;
    // Blocks the thread, running no events, until the voice started last has ended.
    virtual void waitEnd() = 0;

    // Called (from any thread) when the first frame of play id reached the device.
    std::function<void(std::uint64_t id, SteadyTime at)> onFirstFrame;
};

// Keeps time on platform::clock() and sounds nothing: "playing" until start plus
// the duration; waiting for the end is clock().block().
class SilentDevice : public SoundDevice {
public:
    QString name() const override { return QStringLiteral("silent"); }
    void start(Voice voice) override;
    void stop() override;
    bool isPlaying() override;
    void waitEnd() override;

private:
    Tick end_ = 0;
};

struct AlsaOptions {
    // The buffer asked for (the device may grant another size). A sound is handed
    // over as far ahead as it allows, so that a stall of the whole program (a loaded
    // or swapping machine) is ridden out by the sound server or card. Every sound
    // starts from an empty buffer, so its size costs no latency.
    std::chrono::microseconds buffer {500000};
    // The device is made at once and opened by its own thread, so that a sound server
    // that hangs keeps no window waiting. Until it opens (and while it is lost later)
    // it keeps time silently and is tried again at each new sound and once a second;
    // standard error says once that it did not open, or was lost, and once that it is back.
    bool keepTrying = false;
};

// Opens the ALSA PCM device name and starts its feeding thread. Without keepTrying the
// open happens here: when it fails the reason is in *error and the result is nullptr.
std::unique_ptr<SoundDevice> openAlsaDevice(
    const QString& name, QString* error = nullptr, const AlsaOptions& options = {});

} // namespace platform
