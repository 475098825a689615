#include "synthesis/MakeWaveHeader.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/numbers.h"

#include <QByteArray>
#include <QSysInfo>
#include <QtEndian>
#include <cstring>

namespace {

constexpr int riffSizeOffset = 4;
constexpr int dataSizeOffset = 40;

class HeaderWriter {
public:
    explicit HeaderWriter(QByteArray& bytes) : bytes_(bytes) {}
    void id(const char (&text)[4]) { bytes_.append(text, 4); }
    template <typename T> void number(T value)
    {
        char le[sizeof(T)];
        qToLittleEndian(value, le);
        bytes_.append(le, sizeof(T));
    }

private:
    QByteArray& bytes_;
};

QByteArray headerBytes(const WaveHeader& h)
{
    QByteArray bytes;
    HeaderWriter w(bytes);
    w.id(h.RiffId);
    w.number(h.RiffSize);
    w.id(h.WaveId);
    w.id(h.FmtId);
    w.number(h.FmtSize);
    w.number(h.FormatTag);
    w.number(h.Channels);
    w.number(h.SampleRate);
    w.number(h.ByteRate);
    w.number(h.BlockAlign);
    w.number(h.BitsPerSample);
    w.id(h.DataId);
    w.number(h.DataSize);
    return bytes;
}

void setId(char (&field)[4], const char* text) { std::memcpy(field, text, 4); }

} // namespace

WaveHeader BuildWaveHeader(std::int32_t sampleRate, std::int16_t channels,
                           std::int16_t bitsPerSample)
{
    WaveHeader h{};
    setId(h.RiffId, "RIFF");
    setId(h.WaveId, "WAVE");
    setId(h.FmtId, "fmt ");
    setId(h.DataId, "data");
    h.FmtSize = 16;
    h.FormatTag = 1;
    h.Channels = channels;
    h.SampleRate = sampleRate;
    // Products formed wide; a result beyond its field fails instead of wrapping.
    const std::int64_t bitRate = static_cast<std::int64_t>(sampleRate) * channels * bitsPerSample;
    h.ByteRate = platform::toInt32(static_cast<double>(bitRate) / 8);
    h.BlockAlign = platform::toInt16(static_cast<double>(bitsPerSample * channels) / 8);
    h.BitsPerSample = bitsPerSample;
    return h;
}

namespace {
// The header of a 16-bit mono file of the samples, both sizes filled in.
QByteArray headerOf(const SampleBuffer& samples, std::int32_t sampleRate, const QString& what)
{
    const std::int64_t n = 2 * static_cast<std::int64_t>(samples.size());
    if (n + 36 > INT32_MAX)
        throw platform::Failure(QStringLiteral("too many samples for %1").arg(what));
    QByteArray header = headerBytes(BuildWaveHeader(sampleRate, 1, 16));
    qToLittleEndian(static_cast<std::int32_t>(n), header.data() + dataSizeOffset);
    qToLittleEndian(static_cast<std::int32_t>(n + 36), header.data() + riffSizeOffset);
    return header;
}
} // namespace

QByteArray WaveImage(const SampleBuffer& samples, std::int32_t sampleRate)
{
    QByteArray image = headerOf(samples, sampleRate, QStringLiteral("one WAV image"));
    image.resize(WaveHeaderBytes + 2 * static_cast<qsizetype>(samples.size()));
    if (!samples.empty()) // an empty buffer may have no storage to copy from
        qToLittleEndian<std::int16_t>(samples.data(), static_cast<qsizetype>(samples.size()),
                                      image.data() + WaveHeaderBytes);
    return image;
}

void WriteWaveFile(const QString& path, const SampleBuffer& samples, std::int32_t sampleRate)
{
    const QByteArray header = headerOf(samples, sampleRate, path);
    const qsizetype n = 2 * static_cast<qsizetype>(samples.size());
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        // The samples are already in file order: no copy of the recording.
        platform::writeCacheFile(
            path, {header, QByteArrayView(reinterpret_cast<const char*>(samples.data()), n)});
    } else {
        QByteArray data(n, Qt::Uninitialized);
        qToLittleEndian<std::int16_t>(samples.data(), static_cast<qsizetype>(samples.size()),
                                      data.data());
        platform::writeCacheFile(path, {header, data});
    }
}
