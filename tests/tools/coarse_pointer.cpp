// Preloaded into the sound probe: ALSA's delay as a card reports it, whose pointer
// moves a period at a time, so that just after a write it has played none of it. A
// sound server's plugin reports frames leaving at once, which hides a watcher that
// never looks again.
#include <alsa/asoundlib.h>
#include <dlfcn.h>

#include <atomic>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds period {50};

std::atomic<Clock::rep> lastWrite {0};
std::atomic<snd_pcm_sframes_t> lastFrames {0};

template <typename F>
F real(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" snd_pcm_sframes_t snd_pcm_writei(snd_pcm_t* pcm, const void* buffer, snd_pcm_uframes_t size)
{
    static const auto next = real<snd_pcm_sframes_t (*)(snd_pcm_t*, const void*, snd_pcm_uframes_t)>("snd_pcm_writei");
    const snd_pcm_sframes_t put = next(pcm, buffer, size);
    if (put > 0) {
        lastFrames = put;
        lastWrite = Clock::now().time_since_epoch().count();
    }
    return put;
}

extern "C" int snd_pcm_delay(snd_pcm_t* pcm, snd_pcm_sframes_t* delay)
{
    static const auto next = real<int (*)(snd_pcm_t*, snd_pcm_sframes_t*)>("snd_pcm_delay");
    const int e = next(pcm, delay);
    if (e == 0 && Clock::now() - Clock::time_point(Clock::duration(lastWrite.load())) < period)
        *delay += lastFrames;
    return e;
}
