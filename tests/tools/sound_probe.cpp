// Beeps through the ALSA device for the sound tests outside X, and prints how long
// each beep call took, in ms, one a line. The device is the program's own choice
// (QUENLO_AUDIO, QUENLO_ALSA_DEVICE), or with --buffer-ms that ALSA device opened
// with that buffer wish.
//     sound_probe [--buffer-ms MS] COUNT BEEP_MS GAP_MS
#include "platform/sound/sound_service.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

using namespace platform;

int main(int argc, char** argv)
{
    long bufferMs = 0;
    if (argc == 6 && std::strcmp(argv[1], "--buffer-ms") == 0) {
        bufferMs = std::atol(argv[2]);
        argv += 2;
        argc -= 2;
    }
    if (argc != 4) {
        std::fprintf(stderr, "usage: sound_probe [--buffer-ms MS] COUNT BEEP_MS GAP_MS\n");
        return 2;
    }
    const long count = std::atol(argv[1]), beepMs = std::atol(argv[2]), gapMs = std::atol(argv[3]);
    if (bufferMs > 0) {
        QString name = QString::fromLocal8Bit(qgetenv("QUENLO_ALSA_DEVICE"));
        if (name.isEmpty())
            name = QStringLiteral("default");
        QString error;
        auto device = openAlsaDevice(name, &error, {.buffer = std::chrono::milliseconds(bufferMs)});
        if (!device) {
            std::fprintf(stderr, "sound_probe: ALSA \"%s\" did not open: %s\n", qPrintable(name), qPrintable(error));
            return 1;
        }
        sound().setDevice(std::move(device));
    } else {
        useDefaultSound();
    }
    for (long i = 0; i < count; ++i) {
        const auto began = std::chrono::steady_clock::now();
        sound().beep(800, beepMs);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - began;
        std::printf("%.1f\n", took.count());
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
    }
    return 0;
}
