// The next exam-text draw and the word file of the pseudo-text exam.
#include "dialogs/ExamTextState.h"
#include "material/ExamTextDraw.h"
#include "material/ExamWords.h"
#include "platform/process.h"
#include "platform/text.h"
#include "practice/RunState.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"

#include <QFile>
#include <set>

namespace {
class ExamTextDraw : public ::testing::Test {
protected:
    platform::ScopedVirtualClock vc {0};
    void SetUp() override
    {
        platform::resetRandom(3);
        AlphabetIsLatin = -1;
        for (auto* a : {&LatinExamTextPath, &KanaExamTextPath})
            a->fill(QString());
        for (auto* a : {&LatinExamTextEnabled, &KanaExamTextEnabled, &LatinExamTextDrawn, &KanaExamTextDrawn})
            a->fill(0);
    }
    void TearDown() override { SetUp(); }

    static void registerSlots(std::initializer_list<int> slotNumbers, bool kana = false)
    {
        for (int s : slotNumbers) {
            (kana ? KanaExamTextPath : LatinExamTextPath)[s] = QStringLiteral("/texts/%1.txt").arg(s);
            (kana ? KanaExamTextEnabled : LatinExamTextEnabled)[s] = -1;
        }
    }
    static std::int16_t enabledCount()
    {
        std::int16_t n = 0;
        for (int s = 0; s < 10; ++s)
            n += LatinExamTextEnabled[s] == -1 && !LatinExamTextPath[s].isEmpty();
        return n;
    }
};
} // namespace

TEST_F(ExamTextDraw, ACycleUsesEveryTextOnceAndTheLastOnlyWhenItIsLeftAlone)
{
    std::set<QString> firsts;
    for (int round = 0; round < 200; ++round) {
        SetUp();
        vc->block(round * 13);
        registerSlots({2, 5, 7});
        QStringList cycle;
        for (int k = 0; k < 3; ++k)
            cycle << PickNextTextSlot(enabledCount());
        firsts.insert(cycle[0]);
        EXPECT_EQ(cycle[2], "7") << cycle.join(',').toStdString();
        // With two left the draw takes the first of them.
        EXPECT_EQ(cycle[1], cycle[0] == "2" ? "5" : "2");
        // The last draw put the whole cycle back.
        EXPECT_EQ(enabledCount(), 3);
        for (int s : {2, 5, 7})
            EXPECT_EQ(LatinExamTextDrawn[s], 1);
    }
    EXPECT_EQ(firsts, (std::set<QString> {"2", "5"}));
}

TEST_F(ExamTextDraw, UnregisteredAndUntickedSlotsNeverComeUp)
{
    registerSlots({4});
    LatinExamTextPath[6] = "/texts/6.txt"; // registered but unticked
    LatinExamTextEnabled[8] = -1; // ticked but free
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(PickNextTextSlot(1), "4");
    EXPECT_EQ(LatinExamTextEnabled[4], -1);
    EXPECT_EQ(LatinExamTextEnabled[6], 0);
    EXPECT_EQ(PickNextTextSlot(0), QString());
    EXPECT_EQ(LatinExamTextEnabled[4], -1);

    // A count beyond the eligible slots can draw past the last one: nothing changes.
    std::set<QString> results;
    for (int k = 0; k < 100; ++k) {
        vc->block(11);
        LatinExamTextEnabled[4] = -1;
        LatinExamTextDrawn[4] = 0;
        const QString got = PickNextTextSlot(3);
        results.insert(got);
        if (got.isEmpty()) {
            EXPECT_EQ(LatinExamTextEnabled[4], -1);
            EXPECT_EQ(LatinExamTextDrawn[4], 0);
        }
    }
    EXPECT_EQ(results, (std::set<QString> {"", "4"}));
}

TEST_F(ExamTextDraw, TheKanaAlphabetUsesOnlyTheKanaSlots)
{
    registerSlots({3});
    registerSlots({9}, true);
    AlphabetIsLatin = 0;
    EXPECT_EQ(PickNextTextSlot(1), "9");
    EXPECT_EQ(KanaExamTextDrawn[9], 1);
    EXPECT_EQ(LatinExamTextDrawn[3], 0);
    AlphabetIsLatin = 2;
    EXPECT_EQ(PickNextTextSlot(1), QString());
}

class WordFile : public AppFixture {
protected:
    QString write(const QByteArray& bytes)
    {
        const QString path = platform::besideProgram("words.txt");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
};

TEST_F(WordFile, ReadsTheFirstFiftyLinesAsWords)
{
    QByteArray sixty;
    for (int i = 1; i <= 60; ++i)
        sixty += "W" + QByteArray::number(i) + "\r\n";
    const struct {
        QByteArray bytes;
        WordFileRead result;
        QStringList words;
    } cases[] = {
        {"CQ\r\nDE\r\nJA1", WordFileRead::Ok, {"CQ", "DE", "JA1"}},
        {"CQ\rDE\nJA1\r\n", WordFileRead::Ok, {"CQ", "DE", "JA1"}}, // CR, LF and CR LF all end a line
        {"CQ\r\n\r\nDE", WordFileRead::Ok, {"CQ", "", "DE"}}, // a blank line is an empty word
        {"\xb1\xb2\r\n\x83\x41", WordFileRead::Ok, {QString::fromUtf16(u"ｱｲ"), QString::fromUtf16(u"ア")}},
        {"", WordFileRead::Empty, {}},
        {"\r\n\r\n\r\n", WordFileRead::Ok, {"", "", ""}}, // blank lines only: one empty word each
        {"\r", WordFileRead::Ok, {""}}, {"\n\n", WordFileRead::Ok, {"", ""}},
        {QByteArray("A\0B\r\n", 5), WordFileRead::Ok, {QStringLiteral("A") + QChar(0) + QStringLiteral("B")}},
        {"\x81", WordFileRead::Unreadable, {}}, // not code page 932
        // UTF-8 reads as whatever code page 932 makes of its bytes.
        {"\xe3\x82\xa2\r\n", WordFileRead::Ok, {QString(QChar(0x7e67)) + QChar(0xff62)}},
    };
    for (const auto& c : cases) {
        ExamWordList[1] = "kept";
        EXPECT_EQ(LoadExamWordList(write(c.bytes)), c.result) << c.bytes.toStdString();
        QStringList got;
        for (int i = 1; i <= ExamWordCount; ++i)
            got << ExamWordList[i];
        EXPECT_EQ(got, c.words);
        if (c.result != WordFileRead::Ok) {
            EXPECT_EQ(ExamWordList[1], "kept"); // a refused file changes nothing
        }
    }
    EXPECT_EQ(LoadExamWordList(write(sixty)), WordFileRead::Ok);
    EXPECT_EQ(ExamWordCount, 50);
    EXPECT_EQ(ExamWordList[50], "W50");
    // Files of megabytes: one long word, or line breaks of which the first 50 count.
    EXPECT_EQ(LoadExamWordList(write(QByteArray(4 << 20, 'A'))), WordFileRead::Ok);
    EXPECT_EQ(ExamWordCount, 1);
    EXPECT_EQ(ExamWordList[1].size(), 4 << 20);
    EXPECT_EQ(LoadExamWordList(write(QByteArray(4 << 20, '\n'))), WordFileRead::Ok);
    EXPECT_EQ(ExamWordCount, 50);
    EXPECT_EQ(LoadExamWordList(platform::besideProgram("missing.txt")), WordFileRead::Unreadable);
    EXPECT_EQ(ExamWordCount, 0);
}
