#include "platform/sound/sound_device.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numbers>
#include <optional>
#include <thread>

namespace platform {

namespace {

// The stream follows the rate of what it plays: it is set up for 16000 Hz (the
// usual rate of our WAV files) and set up again, on the same handle, when a sound
// comes at another rate. Beeps take the current rate when it can carry the tone,
// else 48000 Hz. alsa-lib resamples where the hardware cannot take a rate.
constexpr std::uint32_t openRate = 16000;
constexpr std::uint32_t toneRate = 48000;
constexpr unsigned periodUs = 5000;
// Every sound starts from an empty buffer (drop, prepare), so its size adds no
// latency; it only has to ride out scheduling hiccups.
constexpr unsigned bufferUs = 40000;
constexpr snd_pcm_uframes_t chunkFrames = 4096;
constexpr double toneAmplitude = 0.5 * 32767;
constexpr std::chrono::milliseconds idleStep {10};

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

int configure(snd_pcm_t* pcm, std::uint32_t rate)
{
    snd_pcm_hw_params_t* hw;
    snd_pcm_hw_params_alloca(&hw);
    int e;
    if ((e = snd_pcm_hw_params_any(pcm, hw)) < 0) // 1 on the pulse plugin
        return e;
    if ((e = snd_pcm_hw_params_set_rate_resample(pcm, hw, 1)) < 0
        || (e = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) < 0
        || (e = snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_S16_LE)) < 0
        || (e = snd_pcm_hw_params_set_channels(pcm, hw, 1)) < 0
        || (e = snd_pcm_hw_params_set_rate(pcm, hw, rate, 0)) < 0)
        return e;
    // Sizes are wishes: a device that cannot meet them plays with its own.
    unsigned buffer = bufferUs, period = periodUs;
    int dir = 0;
    snd_pcm_hw_params_set_buffer_time_near(pcm, hw, &buffer, &dir);
    snd_pcm_hw_params_set_period_time_near(pcm, hw, &period, &dir);
    if ((e = snd_pcm_hw_params(pcm, hw)) < 0)
        return e;
    snd_pcm_uframes_t periodFrames = 0;
    snd_pcm_hw_params_get_period_size(hw, &periodFrames, &dir);

    snd_pcm_sw_params_t* sw;
    snd_pcm_sw_params_alloca(&sw);
    if ((e = snd_pcm_sw_params_current(pcm, sw)) < 0 || (e = snd_pcm_sw_params_set_start_threshold(pcm, sw, 1)) < 0
        || (e = snd_pcm_sw_params_set_avail_min(pcm, sw, std::max<snd_pcm_uframes_t>(periodFrames, 1))) < 0)
        return e;
    return snd_pcm_sw_params(pcm, sw);
}

std::chrono::microseconds framesToTime(std::int64_t frames, std::uint32_t rate)
{
    return std::chrono::microseconds(static_cast<std::int64_t>(static_cast<double>(frames) * 1e6 / rate));
}

// One persistent PCM stream fed by a worker thread. The UI thread only posts the
// next voice (or a stop) and wakes the worker; it never waits on ALSA except in
// waitEnd. The stream is non-blocking: a full buffer is waited for with
// snd_pcm_wait in 5 ms steps, between which a new command is noticed. Replacing
// and stopping is drop + prepare, never drain (which cannot be interrupted).
class AlsaDevice : public SoundDevice {
public:
    AlsaDevice(snd_pcm_t* pcm, QString name) : pcm_(pcm), name_(std::move(name)), worker_([this] { run(); }) {}

    ~AlsaDevice() override
    {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
            ++generation_;
        }
        wake_.notify_all();
        worker_.join();
        snd_pcm_drop(pcm_);
        snd_pcm_close(pcm_);
    }

    QString name() const override { return QStringLiteral("alsa:") + name_; }

    void start(Voice voice) override { post(std::move(voice)); }
    void stop() override { post(std::nullopt); }

    bool isPlaying() override
    {
        std::lock_guard lock(mutex_);
        return busy_ || std::chrono::steady_clock::now() < end_;
    }

    void waitEnd() override
    {
        std::unique_lock lock(mutex_);
        ended_.wait(lock, [this] { return !busy_; });
        SteadyTime end = end_;
        lock.unlock();
        std::this_thread::sleep_until(end);
    }

private:
    void post(std::optional<Voice> voice)
    {
        {
            std::lock_guard lock(mutex_);
            busy_ = voice.has_value();
            if (!busy_)
                end_ = std::chrono::steady_clock::now();
            next_ = std::move(voice);
            pending_ = true;
            ++generation_;
        }
        wake_.notify_one();
    }

    void run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            // Between sounds the stream goes on with silence at the pace of the clock,
            // so that what the device receives (and a recording of it) keeps the gaps.
            if (!wake_.wait_for(lock, idleStep, [this] { return pending_ || quit_; })) {
                lock.unlock();
                feedSilence();
                lock.lock();
                continue;
            }
            if (quit_)
                return;
            pending_ = false;
            std::optional<Voice> voice = std::move(next_);
            next_.reset();
            const std::uint64_t generation = generation_;
            lock.unlock();

            snd_pcm_drop(pcm_);
            std::optional<SteadyTime> end;
            if (voice) {
                end = feed(*voice, generation);
                silenceFrom_ = end.value_or(std::chrono::steady_clock::now());
            } else {
                snd_pcm_prepare(pcm_);
                silenceFrom_ = std::chrono::steady_clock::now();
            }

            lock.lock();
            if (end && generation_ == generation) {
                busy_ = false;
                end_ = *end;
                ended_.notify_all();
            }
        }
    }

    // Silence from the end of the last sound up to now. A device whose buffer is
    // full takes none; that only means it has enough to play.
    void feedSilence()
    {
        if (rate_ == 0)
            return;
        const SteadyTime now = std::chrono::steady_clock::now();
        if (now <= silenceFrom_)
            return;
        const auto due = std::chrono::duration_cast<std::chrono::microseconds>(now - silenceFrom_).count();
        auto frames = static_cast<std::int64_t>(static_cast<double>(due) * rate_ / 1e6);
        if (frames <= 0)
            return;
        std::vector<std::int16_t> zeros(static_cast<std::size_t>(std::min<std::int64_t>(frames, chunkFrames)), 0);
        while (frames > 0) {
            const auto count = static_cast<snd_pcm_uframes_t>(std::min<std::int64_t>(frames, chunkFrames));
            snd_pcm_sframes_t written = snd_pcm_writei(pcm_, zeros.data(), count);
            if (written == -EAGAIN)
                return;
            if (written < 0) {
                if (snd_pcm_recover(pcm_, static_cast<int>(written), 1) < 0)
                    silenceFrom_ = now; // give up on this stretch
                return;
            }
            frames -= written;
            silenceFrom_ += framesToTime(written, rate_);
        }
    }

    // Writes the voice to the device; returns when the sound will have ended, or
    // nullopt when a newer command replaced it. A device error does not cut the
    // sound's time short: it then ends when it would have, heard or not.
    std::optional<SteadyTime> feed(const Voice& voice, std::uint64_t generation)
    {
        const SteadyTime begin = std::chrono::steady_clock::now();
        const SteadyTime kept = begin + std::chrono::milliseconds(voice.durationMs);
        std::uint32_t rate = voice.rate;
        if (!voice.samples)
            rate = rate_ != 0 && voice.hz < rate_ / 2 ? rate_ : toneRate;
        if (rate != rate_) {
            rate_ = configure(pcm_, rate) < 0 ? 0 : rate;
            if (rate_ == 0)
                return kept;
        }
        if (snd_pcm_prepare(pcm_) < 0)
            return kept;

        const std::int64_t frames = voice.samples
            ? static_cast<std::int64_t>(voice.samples->size())
            : static_cast<std::int64_t>(std::nearbyint(voice.durationMs * (rate / 1000.0)));
        std::vector<std::int16_t> tone;
        std::int64_t toneAt = -1;
        std::optional<SteadyTime> first;
        for (std::int64_t at = 0; at < frames;) {
            if (generation_.load() != generation)
                return std::nullopt;
            const auto count = static_cast<snd_pcm_uframes_t>(std::min<std::int64_t>(frames - at, chunkFrames));
            const std::int16_t* from;
            if (voice.samples) {
                from = voice.samples->data() + at;
            } else {
                if (toneAt != at)
                    fillTone(tone, voice.hz, rate, at, count);
                toneAt = at;
                from = tone.data();
            }
            snd_pcm_sframes_t written = snd_pcm_writei(pcm_, from, count);
            if (written == -EAGAIN) {
                snd_pcm_wait(pcm_, 5);
                continue;
            }
            if (written < 0) {
                if (snd_pcm_recover(pcm_, static_cast<int>(written), 1) < 0)
                    return std::max(kept, std::chrono::steady_clock::now());
                continue;
            }
            if (!first) {
                first = std::chrono::steady_clock::now();
                if (onFirstFrame)
                    onFirstFrame(voice.id, *first);
            }
            at += written;
        }
        // What is still queued sounds after the last write; never less than the
        // sound's own length from its first frame (the null device takes all at once).
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(pcm_, &delay) < 0 || delay < 0)
            delay = 0;
        const SteadyTime queuedEnd = std::chrono::steady_clock::now() + framesToTime(delay, rate);
        return std::max(queuedEnd, first.value_or(begin) + framesToTime(frames, rate));
    }

    static void fillTone(
        std::vector<std::int16_t>& out, std::int64_t hz, std::uint32_t rate, std::int64_t at, snd_pcm_uframes_t count)
    {
        out.assign(count, 0);
        if (hz <= 0 || hz >= rate / 2)
            return; // silence, or a tone the stream cannot carry
        // The phase from the frame number in whole numbers: exact however long the tone.
        const std::uint64_t step = static_cast<std::uint64_t>(hz);
        std::uint64_t phase = static_cast<std::uint64_t>(at) % rate * step % rate;
        for (auto& sample : out) {
            sample = static_cast<std::int16_t>(
                std::lrint(toneAmplitude * std::sin(2 * std::numbers::pi * static_cast<double>(phase) / rate)));
            phase = (phase + step) % rate;
        }
    }

    snd_pcm_t* pcm_;
    QString name_;
    std::uint32_t rate_ = openRate; // what the stream is set up for; 0 after a failed set-up
    SteadyTime silenceFrom_ = std::chrono::steady_clock::now(); // worker: audio written up to here

    std::mutex mutex_;
    std::condition_variable wake_; // worker: a command is pending
    std::condition_variable ended_; // waitEnd: the voice has been written
    bool pending_ = false;
    bool quit_ = false;
    bool busy_ = false; // a voice is posted or being written
    std::optional<Voice> next_;
    SteadyTime end_ {};
    std::atomic<std::uint64_t> generation_ {0};

    std::thread worker_; // last: starts after the members it uses
};

} // namespace

std::unique_ptr<SoundDevice> openAlsaDevice(const QString& name, QString* error)
{
    // Without a card alsa-lib prints several lines per failed open; we report one.
    static const bool silenced = (snd_lib_error_set_handler(quietAlsa), true);
    (void)silenced;
    snd_pcm_t* pcm = nullptr;
    int e = snd_pcm_open(&pcm, name.toLocal8Bit().constData(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (e >= 0) {
        e = configure(pcm, openRate);
        if (e >= 0)
            return std::make_unique<AlsaDevice>(pcm, name);
        snd_pcm_close(pcm);
    }
    if (error)
        *error = QString::fromLocal8Bit(snd_strerror(e));
    return nullptr;
}

} // namespace platform
