#include "settings/SettingsFile.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/FirstRunSettings.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

using platform::Failure;

namespace {
// Opens alive in this process: a first-run file is only put in place while none
// is, so no open ever holds a file that a rename has replaced.
int openCount = 0;

std::uint16_t le16(const QByteArray& b)
{
    return qFromLittleEndian<std::uint16_t>(reinterpret_cast<const uchar*>(b.constData()));
}
} // namespace

qint64 SettingsRecordOffset(int record)
{
    if (record < 1 || record > SettingsRecordCount)
        throw Failure(QStringLiteral("no settings record %1").arg(record));
    return static_cast<qint64>(record - 1) * SettingsRecordLength;
}

QByteArray SettingsInt16Bytes(std::int16_t value)
{
    QByteArray b(2, '\0');
    qToLittleEndian<std::int16_t>(value, reinterpret_cast<uchar*>(b.data()));
    return b;
}

QByteArray SettingsInt32Bytes(std::int32_t value)
{
    QByteArray b(4, '\0');
    qToLittleEndian<std::int32_t>(value, reinterpret_cast<uchar*>(b.data()));
    return b;
}

QByteArray SettingsStringBytes(const QString& text)
{
    const auto bytes = platform::encodeCp932(text);
    if (!bytes)
        throw Failure(QStringLiteral("the settings text holds a character code page 932 cannot store"));
    if (bytes->size() > SettingsMaxStringBytes)
        throw Failure(QStringLiteral("the settings text is longer than a record"));
    return SettingsInt16Bytes(static_cast<std::int16_t>(bytes->size())) + *bytes;
}

QByteArray SettingsTaggedBytes(std::optional<std::int16_t> value)
{
    if (!value)
        return SettingsInt16Bytes(0);
    return SettingsInt16Bytes(2) + SettingsInt16Bytes(*value);
}

QString SettingsFile::defaultPath() { return platform::besideProgram(QStringLiteral("saveset.dat")); }

SettingsFile::SettingsFile() : SettingsFile(defaultPath()) {}

SettingsFile::SettingsFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(QStringLiteral("cannot open %1").arg(path));
    if (openCount == 0 && (!info.exists() || (info.isFile() && info.size() == 0))) {
        // A first start: there is nothing in the file to lose. If the first-run file
        // cannot be written, the file is created empty below and reads as zeros.
        platform::ignoreErrors([&] { platform::writeWholeFile(path, FirstRunSettingsImage()); });
    }
    auto file = std::make_unique<QFile>(path);
    // ReadWrite never truncates; Unbuffered sends every write to the file at once.
    // A file that may only be read still loads the learner's settings; its writes
    // fail.
    if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered)
        && !file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw Failure(QStringLiteral("cannot open %1").arg(path));
    device_ = std::move(file);
    isFile_ = true;
    ++openCount;
}

SettingsFile::SettingsFile(const QByteArray& image)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(image);
    buffer->open(QIODevice::ReadOnly);
    device_ = std::move(buffer);
}

SettingsFile::~SettingsFile()
{
    device_->close();
    if (isFile_)
        --openCount;
}

namespace {
QString nameOf(const QIODevice& device)
{
    if (auto* file = qobject_cast<const QFile*>(&device))
        return file->fileName();
    return QStringLiteral("the settings image");
}
} // namespace

QByteArray SettingsFile::readAt(qint64 offset, int n)
{
    QByteArray bytes(n, '\0');
    const qint64 available = std::min<qint64>(n, std::max<qint64>(0, device_->size() - offset));
    if (available > 0) {
        if (!device_->seek(offset) || device_->read(bytes.data(), available) != available)
            throw Failure(QStringLiteral("cannot read %1").arg(nameOf(*device_)));
    }
    return bytes;
}

void SettingsFile::writeAt(qint64 offset, const QByteArray& bytes)
{
    const qint64 size = device_->size();
    // The records between the old end and this value read as zero: fill them, so
    // the file holds no hole whose later write could fail for want of space.
    const QByteArray gap(offset > size ? offset - size : 0, '\0');
    const qint64 start = offset > size ? size : offset;
    const QByteArray all = gap + bytes;
    if (!device_->isWritable() || !device_->seek(start) || device_->write(all) != all.size())
        throw Failure(QStringLiteral("cannot write %1").arg(nameOf(*device_)));
}

std::int16_t SettingsFile::readInt16(int record)
{
    return static_cast<std::int16_t>(le16(readAt(SettingsRecordOffset(record), 2)));
}

std::int32_t SettingsFile::readInt32(int record)
{
    const QByteArray b = readAt(SettingsRecordOffset(record), 4);
    return qFromLittleEndian<std::int32_t>(reinterpret_cast<const uchar*>(b.constData()));
}

QString SettingsFile::readString(int record)
{
    const qint64 offset = SettingsRecordOffset(record);
    const int n = le16(readAt(offset, 2));
    if (n > SettingsMaxStringBytes)
        throw Failure(QStringLiteral("settings record %1 holds no text").arg(record));
    const auto text = platform::decodeCp932(readAt(offset + 2, n));
    if (!text)
        throw Failure(QStringLiteral("settings record %1 is not a code page 932 text").arg(record));
    return *text;
}

std::optional<std::int16_t> SettingsFile::readTagged(int record)
{
    const QByteArray b = readAt(SettingsRecordOffset(record), 4);
    const std::uint16_t tag = le16(b);
    if (tag == 0)
        return std::nullopt;
    if (tag != 2)
        throw Failure(QStringLiteral("settings record %1 holds an unknown tag %2").arg(record).arg(tag));
    return static_cast<std::int16_t>(le16(b.mid(2)));
}

void SettingsFile::writeInt16(int record, std::int16_t value)
{
    writeAt(SettingsRecordOffset(record), SettingsInt16Bytes(value));
}

void SettingsFile::writeInt32(int record, std::int32_t value)
{
    writeAt(SettingsRecordOffset(record), SettingsInt32Bytes(value));
}

void SettingsFile::writeString(int record, const QString& text)
{
    const qint64 offset = SettingsRecordOffset(record);
    writeAt(offset, SettingsStringBytes(text));
}

void SettingsFile::writeTagged(int record, std::optional<std::int16_t> value)
{
    writeAt(SettingsRecordOffset(record), SettingsTaggedBytes(value));
}
