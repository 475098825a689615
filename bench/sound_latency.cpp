// Latency from a sound call to the first frame handed to the ALSA device, from the
// play log: plays started from silence, plays that replace a sounding one, beeps.
// The device is QUENLO_ALSA_DEVICE when set, else "default", else "null" (which
// takes frames at once, so it measures our side of the road only).
#include "bench_support.h"

#include <QByteArray>
#include <thread>

using namespace platform;
using namespace std::chrono;

namespace {

QByteArray image(int ms)
{
    const std::uint32_t rate = 16000;
    const std::uint32_t bytes = rate / 1000 * ms * 2;
    QByteArray out("RIFF");
    auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            out.append(char(v >> (8 * i)));
    };
    put(36 + bytes, 4);
    out.append("WAVEfmt ");
    put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
    out.append("data");
    put(bytes, 4);
    for (std::uint32_t i = 0; i < bytes / 2; ++i)
        put(static_cast<std::uint16_t>(i % 40 < 20 ? 8000 : -8000), 2);
    return out;
}

void report(const char* what)
{
    std::vector<double> ms;
    std::size_t lost = 0;
    for (const auto& e : sound().log()) {
        if (e.firstFrame)
            ms.push_back(bench::msBetween(e.called, *e.firstFrame));
        else
            ++lost;
    }
    sound().clearLog();
    bench::printSpread(what, bench::spread(ms));
    if (lost)
        std::printf("  %-38s %zu never reached the device\n", "", lost);
}

void waitQuiet()
{
    while (sound().isPlaying())
        std::this_thread::sleep_for(milliseconds(1));
    std::this_thread::sleep_for(milliseconds(5));
}

} // namespace

int main()
{
    const QByteArray wanted = qgetenv("QUENLO_ALSA_DEVICE");
    std::vector<QString> names = wanted.isEmpty() ? std::vector<QString> {"default", "null"}
                                                  : std::vector<QString> {QString::fromLocal8Bit(wanted)};
    bool opened = false;
    for (const auto& name : names) {
        QString error;
        if (useAlsaSound(name, &error)) {
            opened = true;
            break;
        }
        std::printf("ALSA \"%s\" did not open: %s\n", qPrintable(name), qPrintable(error));
    }
    if (!opened) {
        std::printf("no ALSA device opened: nothing to measure\n");
        return 0;
    }
    std::printf("device %s%s\n", qPrintable(sound().deviceName()),
                sound().deviceName().endsWith(QLatin1String(":null"))
                    ? " (no sound card: it takes frames at once, so this is our side of the road only)"
                    : "");
    sound().enableLog();
    const int plays = 50;

    const QByteArray shortSound = image(30);
    for (int i = 0; i < plays; ++i) {
        sound().playMemory(shortSound, SND_MEMORY | SND_ASYNC, "short");
        waitQuiet();
    }
    report("play from silence (30 ms image)");

    const QByteArray longSound = image(1000);
    for (int i = 0; i < plays; ++i) {
        sound().playMemory(longSound, SND_MEMORY | SND_ASYNC, "long");
        std::this_thread::sleep_for(milliseconds(10));
    }
    sound().stop();
    waitQuiet();
    report("play replacing a sounding image");

    for (int i = 0; i < plays; ++i)
        sound().beep(800, 20);
    report("beep (20 ms)");
    return 0;
}
