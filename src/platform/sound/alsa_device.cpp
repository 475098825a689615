#include "platform/sound/sound_device.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <numbers>
#include <optional>
#include <thread>

namespace platform {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The stream follows the rate of what it plays: it is set up for 16000 Hz (the
// usual rate of our WAV files) and set up again when a sound comes at another rate.
// Beeps take the current rate when it can carry the tone, else 48000 Hz. alsa-lib
// resamples where the hardware cannot take a rate.
constexpr std::uint32_t openRate = 16000;
constexpr std::uint32_t toneRate = 48000;
constexpr unsigned periodUs = 5000;
// A device that takes everything at once (the null device under the file plugin)
// is fed silence at the pace of the clock between sounds, in these steps.
constexpr milliseconds idleStep {10};
// While a sound is handed over the worker sleeps until this much room is free, or
// half the buffer the device granted when that is less: room it can never have
// would be waited for until the stream runs dry.
constexpr std::chrono::microseconds refill {50000};
constexpr milliseconds shortestSleep {5};
// A device that was lost is tried again at each new sound and, between sounds, this often.
constexpr milliseconds reopenEvery {1000};
// A stream that takes no frame after this many recoveries in a row is lost.
constexpr int fruitlessMendsAllowed = 3;
constexpr snd_pcm_uframes_t chunkFrames = 4096;
constexpr double toneAmplitude = 0.5 * 32767;
// A device opened again between sounds is given this much silence, so that it can be
// seen to play before it is said to be back.
constexpr milliseconds proofOfSound {20};
// ... and is watched this long for it.
constexpr std::chrono::seconds proofWatched {5};
// How far past a sound's own time the UI waits for the worker to have handed it over.
// A worker that has not by then is inside a call to a sound server that does not
// answer (stopped, or stuck after a suspend): the sound then counts as ended.
constexpr milliseconds handOverLeeway {150};
// ... and how far past it the heard end may lie (a server's or a headset's latency).
constexpr milliseconds heardLeeway {500};
// How long the end of the device waits for its worker to finish before leaving it
// behind (stuck in a server's call; it ends with the process).
constexpr milliseconds workerEndWait {250};

// Constant: never destroyed, so a worker still running at the process's exit can read it.
constexpr std::array<std::int16_t, chunkFrames> silence {};

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

std::int64_t timeToFrames(std::chrono::microseconds t, std::uint32_t rate)
{
    return static_cast<std::int64_t>(static_cast<double>(t.count()) * rate / 1e6);
}

std::chrono::microseconds framesToTime(std::int64_t frames, std::uint32_t rate)
{
    return std::chrono::microseconds(static_cast<std::int64_t>(static_cast<double>(frames) * 1e6 / rate));
}

// Sets the stream up for rate; returns its buffer size in frames, or an error.
snd_pcm_sframes_t configure(snd_pcm_t* pcm, std::uint32_t rate, std::chrono::microseconds bufferWish)
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
    auto buffer = static_cast<unsigned>(bufferWish.count());
    unsigned period = periodUs;
    int dir = 0;
    snd_pcm_hw_params_set_buffer_time_near(pcm, hw, &buffer, &dir);
    snd_pcm_hw_params_set_period_time_near(pcm, hw, &period, &dir);
    if ((e = snd_pcm_hw_params(pcm, hw)) < 0)
        return e;
    snd_pcm_uframes_t bufferFrames = 0, periodFrames = 0;
    if ((e = snd_pcm_get_params(pcm, &bufferFrames, &periodFrames)) < 0)
        return e;

    snd_pcm_sw_params_t* sw;
    snd_pcm_sw_params_alloca(&sw);
    if ((e = snd_pcm_sw_params_current(pcm, sw)) < 0 || (e = snd_pcm_sw_params_set_start_threshold(pcm, sw, 1)) < 0
        || (e = snd_pcm_sw_params_set_avail_min(pcm, sw, std::max<snd_pcm_uframes_t>(periodFrames, 1))) < 0
        || (e = snd_pcm_sw_params(pcm, sw)) < 0)
        return e;
    return static_cast<snd_pcm_sframes_t>(std::max<snd_pcm_uframes_t>(bufferFrames, 1));
}

// Every PCM of the process is opened and closed under this lock, which counts the open
// ones. alsa-lib reads its configuration once and keeps it; it is read afresh before an
// open while no PCM is open (nothing else in the program calls ALSA), so that a hook that
// chooses "default" by what runs (the pulse package's "load if running") sees what runs
// now, not what ran when the program first opened a device.
std::mutex& alsaLock()
{
    static std::mutex lock;
    return lock;
}
int openPcms = 0; // under alsaLock

void closePcm(snd_pcm_t* pcm)
{
    std::lock_guard lock(alsaLock());
    snd_pcm_close(pcm);
    --openPcms;
}

// An open stream, set up; instant when it takes everything at once and holds
// nothing (the null device): it has no clock of its own.
struct Stream {
    snd_pcm_t* pcm = nullptr;
    bool instant = false;
    snd_pcm_sframes_t bufferFrames = 0;
};

int openStream(const QString& name, std::uint32_t rate, std::chrono::microseconds bufferWish, Stream* out)
{
    // Without a card alsa-lib prints several lines per failed open; we report one.
    static const bool silenced = (snd_lib_error_set_handler(quietAlsa), true);
    (void)silenced;
    snd_pcm_t* pcm = nullptr;
    {
        std::lock_guard lock(alsaLock());
        if (openPcms == 0)
            snd_config_update_free_global();
        if (int e = snd_pcm_open(&pcm, name.toLocal8Bit().constData(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
            e < 0)
            return e;
        ++openPcms;
    }
    const snd_pcm_sframes_t bufferFrames = configure(pcm, rate, bufferWish);
    if (bufferFrames < 0) {
        closePcm(pcm);
        return static_cast<int>(bufferFrames);
    }
    snd_pcm_sframes_t avail = 0, delay = 0;
    out->instant = snd_pcm_writei(pcm, silence.data(), 64) > 0 && snd_pcm_avail_delay(pcm, &avail, &delay) >= 0
        && delay == 0 && avail >= bufferFrames;
    snd_pcm_drop(pcm);
    if (int e = snd_pcm_prepare(pcm); e < 0) {
        closePcm(pcm);
        return e;
    }
    out->pcm = pcm;
    out->bufferFrames = bufferFrames;
    return 0;
}

// What standard error says of the device, each once until the next is said.
enum class Said { notOpened, lost, back };

void say(Said what, const QString& name, int error = 0)
{
    const QByteArray device = name.toLocal8Bit();
    switch (what) {
    case Said::notOpened:
        std::fprintf(stderr, "quenlo: no sound device opened (ALSA \"%s\": %s); sounds are silent until it opens\n",
            device.constData(), snd_strerror(error));
        break;
    case Said::lost:
        std::fprintf(stderr,
            "quenlo: the sound device was lost (ALSA \"%s\": %s); sounds are silent until it opens again\n",
            device.constData(), snd_strerror(error));
        break;
    case Said::back:
        std::fprintf(stderr, "quenlo: the sound device is back (ALSA \"%s\")\n", device.constData());
        break;
    }
}

// One PCM fed by a worker thread. The UI thread only posts the next voice (or a
// stop) and wakes the worker; it never waits on ALSA. waitEnd waits for the worker
// to have handed the sound over only up to its own time plus a little (while the
// worker is opening the device, up to its own time): past that the worker is stuck
// in a call to a sound server that does not answer, and the sound counts as ended.
// Each sound starts from an empty buffer (drop + prepare; on the pulse plugin a new
// server stream) and is handed over as far ahead as the buffer takes; while it is, the
// worker sleeps until there is room or a command comes. After the sound the stream
// runs dry and the worker sleeps until the next command. A stream that fails beyond
// recovery, or has not opened, is opened again; until it opens, sounds keep their time
// silently. The feeder is shared by the device and its worker, so that a device
// destroyed while its worker is stuck leaves it behind instead of waiting for it.
class Feeder {
public:
    // Without a stream the worker opens the device itself, first thing.
    Feeder(std::optional<Stream> stream, QString name, std::chrono::microseconds bufferWish)
        : pcm_(stream ? stream->pcm : nullptr)
        , instant_(stream && stream->instant)
        , bufferFrames_(stream ? stream->bufferFrames : 0)
        , name_(std::move(name))
        , bufferWish_(bufferWish)
    {
    }

    Feeder(const Feeder&) = delete;
    Feeder& operator=(const Feeder&) = delete;

    // Asks the worker to end; whether it has within wait.
    bool end(milliseconds wait)
    {
        setReport(nullptr);
        std::unique_lock lock(mutex_);
        quit_ = true;
        ++generation_;
        wake_.notify_all();
        return ended_.wait_for(lock, wait, [this] { return done_; });
    }

    void setReport(std::function<void(std::uint64_t, SteadyTime)> report)
    {
        std::lock_guard lock(reportMutex_);
        report_ = std::move(report);
    }

    void start(Voice voice) { post(std::move(voice)); }
    void stop() { post(std::nullopt); }

    // No bound but the open's: the mock exam's end, which polls this, waits for a
    // recording that a stopped server holds, the window answering meanwhile.
    bool isPlaying()
    {
        std::lock_guard lock(mutex_);
        const SteadyTime now = steady_clock::now();
        return (busy_ && !(opening_ && now >= kept_)) || now < end_;
    }

    void waitEnd()
    {
        std::unique_lock lock(mutex_);
        SteadyTime end;
        for (;;) {
            if (!busy_) {
                end = std::min(end_, kept_ + heardLeeway);
                break;
            }
            const SteadyTime latest = opening_ ? kept_ : kept_ + handOverLeeway;
            if (steady_clock::now() >= latest) {
                end = latest; // silent: the device is being opened, or its server does not answer
                break;
            }
            ended_.wait_until(lock, latest);
        }
        lock.unlock();
        std::this_thread::sleep_until(end);
    }

    void run(bool firstOpen)
    {
        if (firstOpen && !reopen(openRate)) {
            say(Said::notOpened, name_, lastError_);
            silenceSaid_ = true;
        }
        work();
        // The stream is closed here, not by the device: on a server that does not
        // answer the close hangs too, and only the worker may wait for it.
        if (pcm_) {
            snd_pcm_drop(pcm_);
            closePcm(pcm_);
            pcm_ = nullptr;
        }
        std::lock_guard lock(mutex_);
        done_ = true;
        ended_.notify_all();
    }

private:
    void post(std::optional<Voice> voice)
    {
        {
            std::lock_guard lock(mutex_);
            const SteadyTime now = steady_clock::now();
            busy_ = voice.has_value();
            if (busy_)
                kept_ = now + milliseconds(voice->durationMs);
            else
                end_ = now;
            next_ = std::move(voice);
            pending_ = true;
            ++generation_;
        }
        wake_.notify_one();
    }

    void work()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            const auto woken = [this] { return pending_ || quit_; };
            if (pcm_ && !instant_ && !proving())
                wake_.wait(lock, woken);
            else if (!wake_.wait_for(lock, pcm_ ? idleStep : reopenEvery, woken)) {
                lock.unlock();
                idle();
                lock.lock();
                continue;
            }
            if (quit_)
                return;
            pending_ = false;
            std::optional<Voice> voice = std::move(next_);
            next_.reset();
            const SteadyTime kept = kept_;
            const std::uint64_t generation = generation_;
            lock.unlock();

            std::optional<SteadyTime> end;
            if (voice)
                end = play(*voice, kept, generation);
            else
                cut();

            lock.lock();
            if (end && generation_ == generation) {
                busy_ = false;
                end_ = *end;
                ended_.notify_all();
            }
        }
    }

    // Whether frames given to a device that was said to be silent are watched for
    // having played.
    bool proving() const
    {
        return silenceSaid_ && taken_ > 0 && steady_clock::now() < written_ + proofWatched;
    }

    // Empties the stream, unless it is empty and ready already.
    void cut()
    {
        if (!pcm_ || snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED)
            return;
        // What a short sound proved is looked at before the drop forgets it.
        sayBackIfHeard();
        snd_pcm_drop(pcm_);
        taken_ = 0;
        if (int e = snd_pcm_prepare(pcm_); e < 0)
            lose(e);
        written_ = steady_clock::now();
    }

    void idle()
    {
        if (!pcm_) {
            // Opened again between sounds: a little silence shows whether it plays.
            if (steady_clock::now() - lastTry_ >= reopenEvery && reopen(openRate) && !instant_)
                writeProof();
            return;
        }
        if (instant_)
            feedSilence();
        else
            sayBackIfHeard();
    }

    void writeProof()
    {
        const auto frames = static_cast<snd_pcm_uframes_t>(timeToFrames(proofOfSound, rate_));
        const snd_pcm_sframes_t put = snd_pcm_writei(pcm_, silence.data(), std::min(frames, chunkFrames));
        if (put > 0) {
            wentThrough(put);
            written_ = steady_clock::now();
        } else if (put < 0 && put != -EAGAIN) {
            mend(static_cast<int>(put));
        }
    }

    // Silence from the end of the last sound up to now, on a device that takes
    // everything at once: what it is given (and a recording of it) keeps the gaps.
    void feedSilence()
    {
        const SteadyTime now = steady_clock::now();
        if (now <= written_)
            return;
        std::int64_t frames = timeToFrames(std::chrono::duration_cast<std::chrono::microseconds>(now - written_), rate_);
        while (frames > 0) {
            const auto count = static_cast<snd_pcm_uframes_t>(std::min<std::int64_t>(frames, chunkFrames));
            snd_pcm_sframes_t put = snd_pcm_writei(pcm_, silence.data(), count);
            if (put == -EAGAIN)
                return;
            if (put < 0) {
                mend(static_cast<int>(put));
                return;
            }
            frames -= put;
            wentThrough(put);
            written_ += framesToTime(put, rate_);
        }
    }

    // Recovers from an underrun or suspend; anything else, a recovery that fails,
    // or recoveries that never let a frame through lose the device (PipeWire's
    // plugin, its server restarted, answers every write with an underrun and every
    // recovery with success). False when the device was lost.
    bool mend(int e)
    {
        if ((e == -EPIPE || e == -ESTRPIPE || e == -EINTR) && ++fruitlessMends_ <= fruitlessMendsAllowed) {
            if (snd_pcm_recover(pcm_, e, 1) >= 0) {
                written_ = steady_clock::now();
                return true;
            }
        }
        lose(e);
        return false;
    }

    // A device that opens and then fails every write is lost at each sound: it is
    // said once, until sound goes through again.
    void lose(int e)
    {
        if (!silenceSaid_)
            say(Said::lost, name_, e);
        silenceSaid_ = true;
        closePcm(pcm_);
        pcm_ = nullptr;
        fruitlessMends_ = 0;
        lastTry_ = steady_clock::now();
    }

    void wentThrough(snd_pcm_sframes_t frames)
    {
        fruitlessMends_ = 0;
        taken_ += frames;
        sayBackIfHeard();
    }

    // A write that took frames alone proves nothing: sound is back once frames have
    // left the stream. On a device with a clock of its own, some have when it holds
    // fewer than it took since it was emptied (a sound server that is up but not
    // playing yet holds them all), or has run dry. A device that takes everything at
    // once tells nothing; the file plugin over one keeps up to twice its buffer before
    // its file must take them (a file that takes nothing fails then; a drop empties
    // it), so it must have taken more than that since it was emptied.
    void sayBackIfHeard()
    {
        if (!silenceSaid_ || taken_ == 0)
            return;
        bool heard;
        if (instant_) {
            heard = taken_ > 2 * bufferFrames_;
        } else {
            snd_pcm_sframes_t held = 0;
            const int e = snd_pcm_delay(pcm_, &held);
            heard = e == 0 ? held < taken_ : e == -EPIPE;
        }
        if (!heard)
            return;
        silenceSaid_ = false;
        say(Said::back, name_);
    }

    // Opens the device for rate, with ALSA's configuration read afresh. The UI does
    // not wait on it (see waitEnd).
    bool reopen(std::uint32_t rate)
    {
        {
            std::lock_guard lock(mutex_);
            opening_ = true;
        }
        ended_.notify_all();
        Stream stream;
        lastError_ = openStream(name_, rate, bufferWish_, &stream);
        lastTry_ = steady_clock::now();
        {
            std::lock_guard lock(mutex_);
            opening_ = false;
        }
        if (lastError_ < 0)
            return false;
        pcm_ = stream.pcm;
        instant_ = stream.instant;
        bufferFrames_ = stream.bufferFrames;
        taken_ = 0;
        rate_ = rate;
        written_ = steady_clock::now();
        return true;
    }

    // Sets the open stream up for rate; false when that lost the device.
    bool useRate(std::uint32_t rate)
    {
        if (rate == rate_)
            return true;
        snd_pcm_drop(pcm_);
        const snd_pcm_sframes_t frames = configure(pcm_, rate, bufferWish_);
        if (frames < 0) {
            lose(static_cast<int>(frames));
            return false;
        }
        bufferFrames_ = frames;
        taken_ = 0;
        rate_ = rate;
        return true;
    }

    // Hands the voice to the device; returns when its last frame will have been
    // heard, or nullopt when a newer command replaced it. A device that cannot be had
    // does not cut the sound's time short: it then ends at kept, when it would have.
    std::optional<SteadyTime> play(const Voice& voice, SteadyTime kept, std::uint64_t generation)
    {
        std::uint32_t rate = voice.rate;
        if (!voice.samples)
            rate = rate_ != 0 && voice.hz < rate_ / 2 ? rate_ : toneRate;
        cut();
        // A device lost under this sound is opened again and the sound begins anew:
        // heard late rather than in part, unless its time passed while the device was
        // being opened (the UI has gone on without it).
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!pcm_ && !reopen(rate))
                break;
            if (steady_clock::now() >= kept || !useRate(rate))
                break;
            std::optional<SteadyTime> end;
            if (feed(voice, generation, &end))
                return end;
        }
        return kept;
    }

    // False when the device was lost; else *end as play returns it.
    bool feed(const Voice& voice, std::uint64_t generation, std::optional<SteadyTime>* end)
    {
        const std::uint32_t rate = rate_;
        const std::int64_t frames = voice.samples
            ? static_cast<std::int64_t>(voice.samples->size())
            : static_cast<std::int64_t>(std::nearbyint(voice.durationMs * (rate / 1000.0)));
        const SteadyTime begin = steady_clock::now();
        std::vector<std::int16_t> tone;
        std::int64_t toneAt = -1;
        std::optional<SteadyTime> first;
        for (std::int64_t at = 0; at < frames;) {
            if (generation_.load() != generation) {
                *end = std::nullopt;
                return true;
            }
            snd_pcm_sframes_t avail = snd_pcm_avail_update(pcm_);
            if (avail < 0) {
                if (!mend(static_cast<int>(avail)))
                    return false;
                continue;
            }
            const std::int64_t wanted = std::min<std::int64_t>(
                {frames - at, timeToFrames(refill, rate), std::max<std::int64_t>(bufferFrames_ / 2, 1)});
            if (avail < wanted && first) {
                sleepForRoom(wanted - avail, rate, generation);
                continue;
            }
            const auto count = static_cast<snd_pcm_uframes_t>(
                std::min<std::int64_t>({frames - at, static_cast<std::int64_t>(chunkFrames), std::max<snd_pcm_sframes_t>(avail, 1)}));
            const std::int16_t* from;
            if (voice.samples) {
                from = voice.samples->data() + at;
            } else {
                if (toneAt != at || tone.size() < count)
                    fillTone(tone, voice.hz, rate, at, count);
                toneAt = at;
                from = tone.data();
            }
            snd_pcm_sframes_t put = snd_pcm_writei(pcm_, from, count);
            if (put == -EAGAIN) {
                sleepForRoom(static_cast<std::int64_t>(count), rate, generation);
                continue;
            }
            if (put < 0) {
                if (!mend(static_cast<int>(put)))
                    return false;
                continue;
            }
            if (!first) {
                first = steady_clock::now();
                std::lock_guard reporting(reportMutex_);
                if (report_)
                    report_(voice.id, *first);
            }
            at += put;
            wentThrough(put);
        }
        // The last frame is heard once everything queued before it has played; never
        // less than the sound's own length from its first frame (the null device
        // takes all at once).
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(pcm_, &delay) < 0 || delay < 0)
            delay = 0;
        const SteadyTime heard = std::max(
            steady_clock::now() + framesToTime(delay, rate), first.value_or(begin) + framesToTime(frames, rate));
        written_ = heard;
        *end = heard;
        return true;
    }

    // Sleeps until about frames of room should have been played free, or a command comes.
    void sleepForRoom(std::int64_t frames, std::uint32_t rate, std::uint64_t generation)
    {
        const auto wait = std::clamp(std::chrono::duration_cast<milliseconds>(framesToTime(frames, rate)),
            shortestSleep, milliseconds(refill.count() / 1000));
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, wait, [&] { return generation_.load() != generation || quit_; });
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

    // Worker only (and the destructor, after the worker has ended).
    snd_pcm_t* pcm_; // nullptr while the device is lost
    bool instant_;
    snd_pcm_sframes_t bufferFrames_; // as granted
    std::int64_t taken_ = 0; // frames written since the stream was set up or emptied
    QString name_;
    std::chrono::microseconds bufferWish_;
    std::uint32_t rate_ = openRate; // what the stream is set up for
    SteadyTime written_ = steady_clock::now(); // audio queued up to here
    SteadyTime lastTry_ = steady_clock::now();
    int lastError_ = 0; // of the last open
    bool silenceSaid_ = false; // standard error says sounds are silent, and none has been heard since
    int fruitlessMends_ = 0; // recoveries since a write last went through

    std::mutex mutex_;
    std::condition_variable wake_; // worker: a command is pending
    std::condition_variable ended_; // waitEnd: the voice has been written; end: the worker is done
    bool pending_ = false;
    bool quit_ = false;
    bool busy_ = false; // a voice is posted or being written
    bool opening_ = false; // the worker is opening the device
    std::optional<Voice> next_;
    SteadyTime kept_ {}; // when the voice posted last ends by its own length
    SteadyTime end_ {};
    std::atomic<std::uint64_t> generation_ {0};
    bool done_ = false; // the worker has ended

    std::mutex reportMutex_; // held while the first frame is reported
    std::function<void(std::uint64_t id, SteadyTime at)> report_;
};

class AlsaDevice : public SoundDevice {
public:
    AlsaDevice(std::optional<Stream> stream, QString name, std::chrono::microseconds bufferWish)
        : name_(std::move(name))
        , feeder_(std::make_shared<Feeder>(stream, name_, bufferWish))
        , worker_([feeder = feeder_, first = !stream] { feeder->run(first); })
    {
    }

    // Never waits long on the worker: one stuck in a call to a sound server that does
    // not answer is left behind, holding the feeder, and ends with the process.
    ~AlsaDevice() override
    {
        if (feeder_->end(workerEndWait))
            worker_.join();
        else
            worker_.detach();
    }

    QString name() const override { return QStringLiteral("alsa:") + name_; }

    void start(Voice voice) override
    {
        feeder_->setReport(onFirstFrame);
        feeder_->start(std::move(voice));
    }
    void stop() override { feeder_->stop(); }
    bool isPlaying() override { return feeder_->isPlaying(); }
    void waitEnd() override { feeder_->waitEnd(); }

private:
    QString name_;
    std::shared_ptr<Feeder> feeder_;
    std::thread worker_; // last: starts after the feeder
};

} // namespace

std::unique_ptr<SoundDevice> openAlsaDevice(const QString& name, QString* error, const AlsaOptions& options)
{
    if (options.keepTrying)
        return std::make_unique<AlsaDevice>(std::nullopt, name, options.buffer);
    Stream stream;
    if (int e = openStream(name, openRate, options.buffer, &stream); e < 0) {
        if (error)
            *error = QString::fromLocal8Bit(snd_strerror(e));
        return nullptr;
    }
    return std::make_unique<AlsaDevice>(stream, name, options.buffer);
}

} // namespace platform
