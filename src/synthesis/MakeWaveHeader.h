#pragma once
#include "synthesis/ToneSynthesis.h"

#include <QString>
#include <cstdint>

// Canonical PCM WAV files in two steps: WriteWaveHeader writes the 44-byte
// header with both sizes 0, WriteWaveData fills in the sizes and writes the
// samples behind it. Numbers are little-endian on disk. Failures throw
// platform::Failure.

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

// Writes the header as the whole new content of the file at path.
void WriteWaveHeader(std::int32_t sampleRate, std::int16_t channels, std::int16_t bitsPerSample,
                     const QString& path);

// Completes the file that WriteWaveHeader wrote: both sizes, then the samples
// from offset 44. Never shortens the file. The file is replaced whole, so a
// failure leaves it as the header left it.
void WriteWaveData(const SampleBuffer& samples, const QString& path);

// The bytes of a complete 16-bit mono WAV file of the samples, as the two steps
// above leave it on disk.
QByteArray WaveImage(const SampleBuffer& samples, std::int32_t sampleRate);

// Writes the bytes WaveImage gives straight from the samples, whole or not at
// all, as a file the program can always build again (no wait for the disk).
void WriteWaveFile(const QString& path, const SampleBuffer& samples, std::int32_t sampleRate);
