#include "platform/sound/wav.h"

#include <cmath>
#include <cstring>

namespace platform {

namespace {

std::uint32_t le32(const char* p)
{
    auto b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
}

std::uint16_t le16(const char* p)
{
    auto b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::int16_t sampleAt(const char* p, int bits)
{
    if (bits == 8) // unsigned, 128 is silence
        return static_cast<std::int16_t>((static_cast<unsigned char>(p[0]) - 128) * 256);
    return static_cast<std::int16_t>(le16(p));
}

} // namespace

Tick durationMs(std::int64_t frames, std::uint32_t rate)
{
    if (rate == 0 || frames <= 0)
        return 0;
    return static_cast<Tick>(std::nearbyint(static_cast<double>(frames) * 1000.0 / rate));
}

Tick Pcm::durationMs() const { return platform::durationMs(static_cast<std::int64_t>(samples.size()), rate); }

std::optional<Pcm> parseWav(const QByteArray& image)
{
    const char* base = image.constData();
    const qint64 size = image.size();
    if (size < 12 || std::memcmp(base, "RIFF", 4) != 0 || std::memcmp(base + 8, "WAVE", 4) != 0)
        return std::nullopt;

    const char* fmt = nullptr;
    const char* data = nullptr;
    qint64 dataSize = 0;
    for (qint64 at = 12; at + 8 <= size && !(fmt && data);) {
        const char* chunk = base + at;
        const qint64 length = le32(chunk + 4);
        const qint64 rest = size - at - 8;
        if (!fmt && std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || rest < 16)
                return std::nullopt;
            fmt = chunk + 8;
        } else if (!data && std::memcmp(chunk, "data", 4) == 0) {
            data = chunk + 8;
            dataSize = std::min(length, rest);
        }
        at += 8 + length + (length & 1); // chunks are padded to even length
    }
    if (!fmt || !data)
        return std::nullopt;

    Pcm pcm;
    const int format = le16(fmt);
    pcm.channels = le16(fmt + 2);
    pcm.rate = le32(fmt + 4);
    pcm.bits = le16(fmt + 14);
    if (format != 1 || (pcm.channels != 1 && pcm.channels != 2) || (pcm.bits != 8 && pcm.bits != 16) || pcm.rate == 0)
        return std::nullopt;

    const int sampleBytes = pcm.bits / 8;
    const int frameBytes = sampleBytes * pcm.channels;
    const qint64 frames = dataSize / frameBytes;
    pcm.samples.resize(static_cast<std::size_t>(frames));
    for (qint64 i = 0; i < frames; ++i) {
        const char* frame = data + i * frameBytes;
        int value = sampleAt(frame, pcm.bits);
        if (pcm.channels == 2)
            value = (value + sampleAt(frame + sampleBytes, pcm.bits)) / 2;
        pcm.samples[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(value);
    }
    return pcm;
}

} // namespace platform
