#pragma once
#include "synthesis/ToneSynthesis.h"

#include <QString>
#include <cstdint>

// Canonical PCM WAV files: the 44-byte header, then the 16-bit samples. Numbers
// are little-endian on disk. A file is written in one step, header and samples
// together, so that it is never seen (or left behind by a failure) with its sizes
// still 0. Failures throw platform::Failure.

struct WaveHeader {
    char RiffId[4];
    std::int32_t RiffSize; // file length minus 8
    char WaveId[4];
    char FmtId[4];
    std::int32_t FmtSize;
    std::int16_t FormatTag;
    std::int16_t Channels;
    std::int32_t SampleRate;
    std::int32_t ByteRate;
    std::int16_t BlockAlign;
    std::int16_t BitsPerSample;
    char DataId[4];
    std::int32_t DataSize; // sample bytes
};

constexpr int WaveHeaderBytes = 44;

// The header for the format, with RiffSize and DataSize 0. Fails when the byte
// rate or the block alignment does not fit its field.
WaveHeader BuildWaveHeader(std::int32_t sampleRate, std::int16_t channels,
                           std::int16_t bitsPerSample);

// The bytes of a complete 16-bit mono WAV file of the samples: the header of
// BuildWaveHeader with both sizes filled in, then the samples from offset 44.
QByteArray WaveImage(const SampleBuffer& samples, std::int32_t sampleRate);

// Writes the bytes WaveImage gives straight from the samples (no copy of a long
// recording), replacing the file whole or not at all, as a file the program can
// always build again (no wait for the disk).
void WriteWaveFile(const QString& path, const SampleBuffer& samples, std::int32_t sampleRate);
