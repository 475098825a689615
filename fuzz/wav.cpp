// The sound service's WAV reading: the same bytes played as an image and as a file.
#include "fuzz_target.h"

#include "platform/files.h"
#include "platform/sound/sound_service.h"
#include "platform/virtual_clock.h"

#include <QTemporaryDir>

QUENLO_FUZZ_INITIALIZE

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    static platform::ScopedVirtualClock clock;
    const QByteArray image = fuzz::bytes(data, size);
    auto& sound = platform::sound();
    sound.playMemory(image, platform::SND_MEMORY | platform::SND_ASYNC | platform::SND_NODEFAULT, QStringLiteral("fuzz"));
    sound.stop();
    const QString path = dir.filePath(QStringLiteral("fuzz.wav"));
    platform::writeWholeFile(path, image);
    sound.playFile(path, platform::SND_FILENAME | platform::SND_ASYNC | platform::SND_NODEFAULT);
    sound.stop();
    return 0;
}
