#include "platform/failure.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/process.h"
#include "platform/text.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

TEST(Cp932, ProgramTextsRoundTrip)
{
    for (const char16_t* t : {u"ﾟ", u"ﾃｽﾄ", u"訂正", u"〇", u"ー", u"」", u"？", u"C:\\Text", u"～①"}) {
        QString text = QString::fromUtf16(t);
        auto bytes = encodeCp932(text);
        ASSERT_TRUE(bytes) << text.toStdString();
        EXPECT_EQ(decodeCp932(*bytes), text);
    }
    EXPECT_EQ(*encodeCp932(QStringLiteral("\\")), QByteArray("\x5c"));  // a backslash, not a yen sign
    EXPECT_EQ(*encodeCp932(QStringLiteral("ﾟ")), QByteArray("\xdf"));
    EXPECT_FALSE(encodeCp932(QStringLiteral("😀")));                    // no code page 932 form
    EXPECT_FALSE(decodeCp932(QByteArray("\x82")));       // a lone lead byte
}

TEST(Cp932, KeyCodes)
{
    EXPECT_EQ(cp932KeyCode(u'A'), 65);
    EXPECT_EQ(cp932KeyCode(u'ｱ'), 177);
    EXPECT_EQ(cp932KeyCode(u'ア'), static_cast<std::int16_t>(0x8341));
    EXPECT_NE(cp932KeyCode(QChar(0x0E01)), 63);
}

TEST(Cp932, TextFiles)
{
    QTemporaryDir dir;
    QString path = joinPath(dir.path(), "words.txt");
    writeWholeFile(path, QByteArray("\x83\x82\x81\x5b\x83\x8b\x83\x58\r\nCQ"));
    EXPECT_EQ(readTextFileCp932(path), u"モールス\r\nCQ"_qs);
    writeWholeFile(path, QByteArray("\x82"));
    EXPECT_THROW(readTextFileCp932(path), Failure); // a lone lead byte
    EXPECT_THROW(readTextFileCp932(joinPath(dir.path(), "missing.txt")), Failure);
    EXPECT_THROW(readWholeFile(dir.path()), Failure);
    EXPECT_NO_THROW(deleteFile(joinPath(dir.path(), "missing.txt")));
}

TEST(Numbers, TextToInt16)
{
    const struct {
        const char* text;
        int value;
    } good[] = {{"45", 45}, {" 45 ", 45}, {"-7", -7}, {"+3", 3}, {"44.5", 44}, {"45.5", 46},
                {"2.5", 2}, {"-2.5", -2}, {"32767", 32767}, {"-32768", -32768}, {"1e2", 100}};
    for (const auto& c : good)
        EXPECT_EQ(textToInt16(c.text), c.value) << c.text;
    for (const char* bad : {"", " ", "abc", "4a", "32768", "-32769", "1e10", "0x10", "--1"})
        EXPECT_THROW(textToInt16(bad), Failure) << bad;
    EXPECT_THROW(toInt16(std::nan("")), Failure);
    EXPECT_THROW(toInt32(1e300), Failure);
    EXPECT_EQ(numberText(-5), "-5");
    EXPECT_EQ(numberText(7), "7");
    std::int16_t counter = 32766;
    saturatingIncrement(counter);
    saturatingIncrement(counter);
    EXPECT_EQ(counter, 32767);
}

TEST(Random, DrawsStayBelowOneAndReseedsAreReproducible)
{
    resetRandom(42);
    float lo = 1, hi = 0;
    for (int i = 0; i < 100000; ++i) {
        float r = rnd();
        lo = std::min(lo, r);
        hi = std::max(hi, r);
    }
    EXPECT_GE(lo, 0.0f);
    EXPECT_LT(hi, 1.0f);
    resetRandom(7);
    randomize(12);
    float a = rnd();
    resetRandom(7);
    randomize(12);
    EXPECT_EQ(rnd(), a);
    randomize(13);
    EXPECT_NE(rnd(), a);
}

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstEnds)
{
    QTemporaryDir dir;
    {
        SingleInstance first(dir.path());
        ASSERT_TRUE(first.acquired());
        SingleInstance second(dir.path());
        EXPECT_FALSE(second.acquired());
    }
    SingleInstance again(dir.path());
    EXPECT_TRUE(again.acquired());
}
