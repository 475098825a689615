// Sounds through the ALSA device for the sound tests outside X, and prints how long
// each sound took, in ms, one a line: a beep call, or with --wave a tone played as a
// WAV image asynchronously, for as long as the device says it is playing. The device
// is the program's own choice (QUENLO_AUDIO, QUENLO_ALSA_DEVICE), or with --buffer-ms
// that ALSA device opened with that buffer wish.
//     sound_probe [--buffer-ms MS] [--wave] COUNT SOUND_MS GAP_MS
#include "platform/sound/sound_service.h"

#include <QByteArray>
#include <QtEndian>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

using namespace platform;

namespace {

// 16-bit mono PCM at 16000 Hz: an 800 Hz tone of ms.
QByteArray toneImage(long ms)
{
    constexpr std::uint32_t rate = 16000;
    const auto frames = static_cast<std::uint32_t>(ms * rate / 1000);
    QByteArray image(44 + 2 * frames, '\0');
    char* p = image.data();
    const auto put32 = [&](int at, std::uint32_t v) { qToLittleEndian(v, p + at); };
    const auto put16 = [&](int at, std::uint16_t v) { qToLittleEndian(v, p + at); };
    std::memcpy(p, "RIFF", 4);
    put32(4, 36 + 2 * frames);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, 1);
    put32(24, rate);
    put32(28, 2 * rate);
    put16(32, 2);
    put16(34, 16);
    std::memcpy(p + 36, "data", 4);
    put32(40, 2 * frames);
    for (std::uint32_t i = 0; i < frames; ++i)
        put16(44 + 2 * static_cast<int>(i),
            static_cast<std::uint16_t>(static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 800 * i / rate))));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    long bufferMs = 0;
    bool wave = false;
    for (; argc > 1 && std::strncmp(argv[1], "--", 2) == 0; --argc, ++argv) {
        if (std::strcmp(argv[1], "--buffer-ms") == 0 && argc > 2) {
            bufferMs = std::atol(argv[2]);
            --argc, ++argv;
        } else if (std::strcmp(argv[1], "--wave") == 0) {
            wave = true;
        } else {
            break;
        }
    }
    if (argc != 4) {
        std::fprintf(stderr, "usage: sound_probe [--buffer-ms MS] [--wave] COUNT SOUND_MS GAP_MS\n");
        return 2;
    }
    const long count = std::atol(argv[1]), soundMs = std::atol(argv[2]), gapMs = std::atol(argv[3]);
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
    const QByteArray image = wave ? toneImage(soundMs) : QByteArray();
    for (long i = 0; i < count; ++i) {
        const auto began = std::chrono::steady_clock::now();
        if (wave) {
            sound().playMemory(image, SND_MEMORY | SND_ASYNC);
            while (sound().isPlaying())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } else {
            sound().beep(800, soundMs);
        }
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - began;
        std::printf("%.1f\n", took.count());
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
    }
    return 0;
}
