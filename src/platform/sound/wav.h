#pragma once
#include "platform/clock.h"

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// A sound ready for the device: 16-bit mono at the file's own rate. The source
// format is kept for the log and for tests.
struct Pcm {
    std::uint32_t rate = 0;
    int channels = 0; // in the file; samples are mixed to mono
    int bits = 0; // in the file: 8 or 16
    std::vector<std::int16_t> samples;

    Tick durationMs() const;
};

// Milliseconds of frames at rate, halves to even.
Tick durationMs(std::int64_t frames, std::uint32_t rate);

// Reads a RIFF/WAVE image: PCM, 8 or 16 bits, 1 or 2 channels, any rate. Only the
// bytes the data chunk names are played; a data size beyond the end of the image
// is cut to the whole frames present. The RIFF size is not checked (a file whose
// writer stopped before filling it in still plays). Anything else gives nullopt.
std::optional<Pcm> parseWav(const QByteArray& image);

} // namespace platform
