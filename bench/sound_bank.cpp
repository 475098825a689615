// Time of a sound-bank rebuild (Latin and kana), with the writers' prescribed waits
// on the real clock and without them on a virtual clock, and synthesis speed.
#include "platform/files.h"
#include "platform/process.h"
#include "platform/sound/sound_service.h"
#include "platform/virtual_clock.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "synthesis/SoundBank.h"
#include "synthesis/ToneSynthesis.h"

#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {
double msSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double rebuild(std::int16_t alphabet, const char* speed, int rate)
{
    AlphabetIsLatin = alphabet;
    auto t0 = std::chrono::steady_clock::now();
    BuildSoundBank(speed, 800, rate);
    return msSince(t0);
}
} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    platform::setProgramFolder(dir.path());
    platform::useSilentSound();
    frmMain(); // start-up: settings, the sound folder, the first rebuild

    std::printf("sound bank rebuild (ms), 45 characters per minute:\n");
    for (int rate : {8000, 16000}) {
        double latinReal = rebuild(-1, "45", rate);
        double kanaReal = rebuild(0, "45", rate);
        double latinWork, kanaWork;
        {
            platform::ScopedVirtualClock vc;
            latinWork = rebuild(-1, "45", rate);
            kanaWork = rebuild(0, "45", rate);
        }
        std::printf("  %5d Hz  Latin: %7.1f with waits, %6.1f synthesis and files, %6.1f waits\n", rate,
                    latinReal, latinWork, latinReal - latinWork);
        std::printf("  %5d Hz  kana:  %7.1f with waits, %6.1f synthesis and files, %6.1f waits\n", rate,
                    kanaReal, kanaWork, kanaReal - kanaWork);
    }

    // Synthesis alone: dash elements at 16000 samples per second.
    const int rounds = 400;
    auto t0 = std::chrono::steady_clock::now();
    std::size_t samples = 0;
    for (int i = 0; i < rounds; ++i) {
        BuildDashElement(133, 800, 16000);
        samples += DashSamples.size();
    }
    double ms = msSince(t0);
    std::printf("synthesis: %.1f million samples per second\n", samples / ms / 1000.0);
    platform::endProgram(0); // as the program ends: no window handlers
}
