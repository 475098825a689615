#include "platform/failure.h"
#include "platform/files.h"
#include "settings/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::Failure;

namespace {
QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

class SettingsFileBytes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        previous_ = platform::programFolder();
        platform::setProgramFolder(dir_.path());
    }
    void TearDown() override { platform::setProgramFolder(previous_); }

    QString path() const { return dir_.filePath("saveset.dat"); }
    // A file as another program run left it.
    void existing(const QByteArray& bytes) { platform::writeWholeFile(path(), bytes); }
    QByteArray bytes() const { return platform::readWholeFile(path()); }
    QByteArray at(int record, int n) const { return bytes().mid(SettingsRecordOffset(record), n); }

private:
    QTemporaryDir dir_;
    QString previous_;
};
} // namespace

TEST_F(SettingsFileBytes, ValuesSitAtTheirRecordOffsetsInTheirEncodings)
{
    existing(QByteArray(1, 'x'));
    {
        SettingsFile f;
        f.writeString(7, QStringLiteral("WAVE"));
        f.writeInt32(21, 16000);
        f.writeInt16(1, -1);
        f.writeTagged(146, 5);
        f.writeTagged(147, std::nullopt);
        f.writeTagged(148, 0);
        f.writeString(11, QString());
        f.writeInt16(262, 10);
    }
    EXPECT_EQ(SettingsRecordOffset(1), 0);
    EXPECT_EQ(SettingsRecordOffset(262), 261 * 2963);
    EXPECT_EQ(at(7, 6), hex("040057415645"));
    EXPECT_EQ(at(21, 4), hex("803e0000"));
    EXPECT_EQ(at(1, 2), hex("ffff"));
    EXPECT_EQ(at(146, 4), hex("02000500"));
    EXPECT_EQ(at(147, 2), hex("0000"));
    EXPECT_EQ(at(148, 4), hex("02000000"));
    EXPECT_EQ(at(11, 2), hex("0000"));
    EXPECT_EQ(bytes().size(), 773345); // to the end of record 262's value
    // What was never written reads as zero, in every encoding.
    SettingsFile f;
    EXPECT_EQ(f.readInt16(100), 0);
    EXPECT_EQ(f.readString(15), QString());
    EXPECT_EQ(f.readTagged(150), std::nullopt);
    EXPECT_EQ(f.readTagged(146), std::optional<std::int16_t>(5));
    EXPECT_EQ(f.readTagged(148), std::optional<std::int16_t>(0));
    EXPECT_EQ(f.readInt32(21), 16000);
    EXPECT_EQ(f.readString(7), QStringLiteral("WAVE"));
}

TEST_F(SettingsFileBytes, TextIsCountedInCodePage932Bytes)
{
    existing(QByteArray(1, '\0'));
    const QString path = QStringLiteral("C:\\単語\\ｶﾅ.txt");
    {
        SettingsFile f;
        f.writeString(16, path);
    }
    // Two bytes for each kanji, one for each half-width kana; the backslash stays
    // 5C.
    EXPECT_EQ(at(16, 2), hex("0e00"));
    EXPECT_EQ(at(16, 16).mid(2), hex("433a5c92508cea5cb6c52e747874"));
    EXPECT_EQ(SettingsFile().readString(16), path);
    // A character code page 932 has no form for writes nothing.
    SettingsFile f;
    EXPECT_THROW(f.writeString(16, QStringLiteral("€")), Failure);
    EXPECT_THROW(f.writeString(17, QString(SettingsMaxStringBytes + 1, 'a')), Failure);
    f.writeString(17, QString(SettingsMaxStringBytes, 'a')); // the longest that fits
    EXPECT_EQ(f.readString(16), path);
    EXPECT_EQ(f.readString(17).size(), SettingsMaxStringBytes);
    EXPECT_EQ(f.readInt16(18), 0); // and it ends inside its record
}

TEST_F(SettingsFileBytes, AWriteReplacesOneValueAndLeavesTheRestOfALongerFile)
{
    QByteArray old(SettingsRecordOffset(262) + 2963 + 100, '\x5a');
    existing(old);
    {
        SettingsFile f;
        f.writeInt16(3, 700);
    }
    QByteArray expected = old;
    expected.replace(SettingsRecordOffset(3), 2, hex("bc02"));
    EXPECT_EQ(bytes(), expected);
}

TEST_F(SettingsFileBytes, AShortFileReadsAsZerosPastItsEnd)
{
    // Record 1: count 4, then "ABC" and the end of the file.
    existing(hex("0400414243"));
    SettingsFile f;
    EXPECT_EQ(f.readString(1), QString::fromLatin1("ABC\0", 4));
    EXPECT_EQ(f.readInt16(2), 0);
    EXPECT_EQ(f.readInt32(21), 0);
    EXPECT_EQ(f.readTagged(200), std::nullopt);
    // Reading never extends or changes the file.
    EXPECT_EQ(bytes(), hex("0400414243"));
}

TEST_F(SettingsFileBytes, DamagedValuesAndBadRecordNumbersFail)
{
    QByteArray b(SettingsRecordOffset(4), '\0');
    b.replace(SettingsRecordOffset(1), 2, hex("ffff")); // a count beyond a record
    b.replace(SettingsRecordOffset(2), 4, hex("0300ffff")); // an unknown tag
    b.replace(SettingsRecordOffset(3), 3, hex("0100ff")); // not code page 932
    existing(b);
    SettingsFile f;
    EXPECT_THROW(f.readString(1), Failure);
    EXPECT_THROW(f.readTagged(2), Failure);
    EXPECT_THROW(f.readString(3), Failure);
    EXPECT_THROW(f.readInt16(0), Failure);
    EXPECT_THROW(f.writeInt16(263, 1), Failure);
    EXPECT_EQ(bytes(), b);
}

TEST_F(SettingsFileBytes, OpensAtOnceSeeEachOthersWrites)
{
    existing(QByteArray(10, '\0'));
    SettingsFile outer;
    {
        SettingsFile inner;
        outer.writeInt16(8, 3);
        EXPECT_EQ(inner.readInt16(8), 3);
        inner.writeInt32(21, 8000);
        inner.writeString(15, QStringLiteral("英単語"));
    }
    EXPECT_EQ(outer.readInt32(21), 8000);
    EXPECT_EQ(outer.readString(15), QStringLiteral("英単語"));
    EXPECT_EQ(outer.readInt16(8), 3);
}

TEST_F(SettingsFileBytes, AMissingFileIsCreatedWithTheFirstRunSettings)
{
    ASSERT_FALSE(QFile::exists(path()));
    {
        SettingsFile f;
        EXPECT_EQ(f.readInt16(1), -1);
        EXPECT_EQ(f.readString(7), QStringLiteral("WAVE"));
        EXPECT_EQ(f.readInt32(21), 16000);
        EXPECT_EQ(f.readInt16(3), 800);
        EXPECT_EQ(f.readInt16(126), 45);
        EXPECT_EQ(f.readInt16(262), 10);
    }
    EXPECT_EQ(bytes().size(), 773345);
    // An empty file holds nothing to lose and is treated the same.
    existing(QByteArray());
    EXPECT_EQ(SettingsFile().readInt16(125), 800);
}

TEST_F(SettingsFileBytes, AFolderInPlaceOfTheFileFailsToOpen)
{
    platform::createFolder(path());
    EXPECT_THROW(SettingsFile(), Failure);
}
