#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

// saveset.dat: records of SettingsRecordLength bytes numbered 1..262, one value
// at the start of each record, all numbers little-endian. Record k starts at
// byte (k - 1) * SettingsRecordLength. The file is never truncated or
// rewritten: a write replaces one value in place; a value past the end of the
// file reads as zero bytes.
constexpr int SettingsRecordLength = 2963;
constexpr int SettingsRecordCount = 262;
// The longest CountedAnsiString that fits in a record.
constexpr int SettingsMaxStringBytes = SettingsRecordLength - 2;

// Byte offset of a record; Failure outside 1..SettingsRecordCount.
qint64 SettingsRecordOffset(int record);

// The bytes of one value in each encoding.
QByteArray SettingsInt16Bytes(std::int16_t value);
QByteArray SettingsInt32Bytes(std::int32_t value);
// CountedAnsiString: unsigned 16-bit byte count, then the text in code page
// 932. Failure when the text has a character the code page cannot store or is
// longer than SettingsMaxStringBytes.
QByteArray SettingsStringBytes(const QString& text);
// TaggedValue: tag 0 (empty, no payload) or tag 2 and a 16-bit integer.
QByteArray SettingsTaggedBytes(std::optional<std::int16_t> value);

// One open of the settings file. Several may be open at once, each with its own
// position and none locking the others out; every write reaches the file before
// the call returns, so the other opens see it at once. Failures are
// platform::Failure: a file that cannot be opened, read or written, and values
// that are not in their encoding (a count beyond a record, bytes that are not
// code page 932, a tag other than 0 and 2).
class SettingsFile {
public:
    // saveset.dat in the program folder.
    SettingsFile();
    // A missing (or empty) file is created. On a first start, when no other open
    // of it is alive, it is created holding the first-run settings
    // (FirstRunSettings.h), written completely or not at all; otherwise it is
    // created empty. A file that may only be read is opened for reading, and
    // every write fails.
    explicit SettingsFile(const QString& path);
    // Reads from an image in memory; every write fails. The loaders read the
    // first-run settings this way when the file cannot be opened at all.
    explicit SettingsFile(const QByteArray& image);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    static QString defaultPath();

    std::int16_t readInt16(int record);
    std::int32_t readInt32(int record);
    QString readString(int record);
    // nullopt for an empty TaggedValue; users take it as 0.
    std::optional<std::int16_t> readTagged(int record);
    std::int16_t readTaggedOrZero(int record) { return readTagged(record).value_or(0); }

    void writeInt16(int record, std::int16_t value);
    void writeInt32(int record, std::int32_t value);
    void writeString(int record, const QString& text);
    void writeTagged(int record, std::optional<std::int16_t> value);

private:
    // n bytes from the start of the record; bytes past the end of the file are 0.
    QByteArray readAt(qint64 offset, int n);
    void writeAt(qint64 offset, const QByteArray& bytes);

    std::unique_ptr<QIODevice> device_;
    bool isFile_ = false;
};
