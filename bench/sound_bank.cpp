// Time of a sound-bank rebuild (Latin and kana): on the real clock in all, and split
// into synthesis and file work (the same rebuild on a virtual clock, where the waits
// take no time) and the writers' prescribed waits (the virtual time that passed).
// Then synthesis speed alone.
#include "bench_support.h"

#include "synthesis/ToneSynthesis.h"

using namespace bench;

namespace {

struct Rebuild {
    double allMs = 0; // real clock
    double workMs = 0; // virtual clock: synthesis and files
    double workCpuMs = 0; // of which CPU time (the rest is mostly file I/O)
    double waitsMs = 0; // virtual time: the prescribed waits
};

Rebuild rebuild(std::int16_t alphabet, const char* speed, int rate)
{
    AlphabetIsLatin = alphabet;
    Rebuild r;
    auto t0 = Steady::now();
    BuildSoundBank(speed, 800, rate);
    r.allMs = msSince(t0);
    platform::ScopedVirtualClock virtualTime;
    const platform::Tick v0 = virtualTime->now();
    CpuMeter work;
    BuildSoundBank(speed, 800, rate);
    r.workMs = work.wallMs();
    r.workCpuMs = work.cpuMs();
    r.waitsMs = static_cast<double>(virtualTime->now() - v0);
    return r;
}

void print(int rate, const char* alphabet, const Rebuild& r)
{
    std::printf("  %5d Hz  %-5s %7.1f in all: synthesis and files %6.1f (CPU %5.1f), prescribed waits %7.1f, "
                "the rest %+6.1f\n",
                rate, alphabet, r.allMs, r.workMs, r.workCpuMs, r.waitsMs, r.allMs - r.workMs - r.waitsMs);
}

} // namespace

int main(int argc, char** argv)
{
    Program p(argc, argv); // start-up: settings, the sound folder, the first rebuild

    std::printf("sound bank rebuild (ms), 45 characters per minute:\n");
    for (int rate : {8000, 16000}) {
        print(rate, "Latin", rebuild(-1, "45", rate));
        print(rate, "kana", rebuild(0, "45", rate));
    }
    AlphabetIsLatin = -1;

    // Synthesis alone: dash elements at 16000 samples per second.
    const int rounds = 400;
    const auto t0 = Steady::now();
    std::size_t samples = 0;
    for (int i = 0; i < rounds; ++i) {
        BuildDashElement(133, 800, 16000);
        samples += DashSamples.size();
    }
    std::printf("synthesis: %.1f million samples per second\n", samples / msSince(t0) / 1000.0);
    return 0;
}
