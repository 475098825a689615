#pragma once
#include "platform/clock.h"
#include "platform/sound/sound_device.h"
#include "platform/sound/wav.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace platform {

// Flags of the sound calls, with the values the original platform's PlaySound had.
inline constexpr unsigned SND_SYNC = 0;
inline constexpr unsigned SND_ASYNC = 0x1;
inline constexpr unsigned SND_NODEFAULT = 0x2;
inline constexpr unsigned SND_MEMORY = 0x4;
inline constexpr unsigned SND_NOSTOP = 0x10;
inline constexpr unsigned SND_FILENAME = 0x20000;

struct PlayLogEntry {
    Tick at = 0; // clock().now() at the call
    QString what; // label of a memory image, path of a file, "beep"
    unsigned flags = 0;
    Tick durationMs = 0;
    std::int64_t hz = 0; // beeps only
    bool played = false;
    SteadyTime called {}; // steady time of the call
    std::optional<SteadyTime> firstFrame; // ALSA: when the first frame reached the device
};

// The one voice of the program (PlaySound and Beep replacement). UI thread only.
// A call that sounds something first stops what is sounding; a sound that cannot
// be read or has no usable header plays nothing and the call returns false (there
// is no default sound to fall back to).
class SoundService {
public:
    SoundService();
    ~SoundService();

    // Plays a WAV image. It is parsed and copied at the call: what happens to the
    // caller's buffer afterwards never changes what plays.
    bool playMemory(const QByteArray& image, unsigned flags, const QString& label = {});
    // Plays a WAV file, read whole at the call.
    bool playFile(const QString& path, unsigned flags);
    // Sine tone for ms, blocking the thread without running events. ms <= 0
    // returns at once; hz <= 0 (or above what the device can carry) is silence.
    void beep(std::int64_t hz, std::int64_t ms);
    void stop();
    bool isPlaying();

    void setDevice(std::unique_ptr<SoundDevice> device);
    QString deviceName();

    void enableLog(bool on = true);
    std::vector<PlayLogEntry> log() const;
    void clearLog();

private:
    SoundDevice& device();
    bool play(const QString& what, unsigned flags, const std::function<std::optional<Pcm>()>& load);
    std::uint64_t record(PlayLogEntry entry);

    std::unique_ptr<SoundDevice> device_;
    std::uint64_t nextId_ = 1;

    mutable std::mutex logMutex_; // the ALSA worker reports first frames
    bool logging_ = false;
    std::vector<std::pair<std::uint64_t, PlayLogEntry>> log_;
};

SoundService& sound();

// Device choice. Tests use the silent device (with a virtual clock).
void useSilentSound();
// The program's choice: QUENLO_AUDIO=silent selects the silent device; otherwise
// (unset, or QUENLO_AUDIO=alsa) the ALSA device QUENLO_ALSA_DEVICE (default
// "default"), opened by its own thread: this returns at once. When it does not open
// one line on standard error says so and sounds keep their time silently (on the
// steady clock) until it opens: it is tried again at each new sound and once a
// second. sound() makes this choice itself when nothing was chosen before.
void useDefaultSound();
// Opens the named ALSA device; false (and the device left as it was) if it fails.
bool useAlsaSound(const QString& deviceName, QString* error = nullptr);

} // namespace platform
