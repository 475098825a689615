#include "practice/QuenModule.h"
#include "synthesis/MorseCodeTable.h"

#include <gtest/gtest.h>

TEST(KanaCharTable, LookupsAreExactInverses)
{
    for (int i = 1; i <= KanaCharCount; ++i)
        EXPECT_EQ(GetKanaIndex(GetKanaText(i)), i) << i;
    const struct {
        const char16_t* text;
        int index;
    } cases[] = {
        {u"ホ", 30},  {u"ホレ", 67}, {u"?", 0},  {u"？", 66}, {u"(", 64},  {u"0", 0},
        {u"０", 0},   {u"〇", 60},   {u"ﾟ", 50}, {u"゜", 0},  {u"ガ", 0},  {u"○", 0},
        {u"", 0},     {u"ア", 1},    {u"ン", 48}, {u"濁点", 49}, {u"ラタ", 68},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetKanaIndex(QString::fromUtf16(c.text)), c.index) << QString::fromUtf16(c.text).toStdString();
    for (int bad : {0, 69, -1})
        EXPECT_EQ(GetKanaText(bad), QString());
}

TEST(CharTables, AgreeWithTheMorseTable)
{
    // Every table text is the key of the Morse row that sends it.
    for (int i = 1; i <= LatinCharCount; ++i)
        EXPECT_EQ(QString::fromUtf16(MorseRowAt(MorseRowOfLatin(i)).key), LatinCharTable[i]);
    for (int i = 1; i <= KanaCharCount; ++i) {
        const MorseRow& row = MorseRowAt(MorseRowOfKana(i));
        if (row.latinIndex == 0) {
            EXPECT_EQ(QString::fromUtf16(row.key), KanaCharTable[i]);
        }
    }
}

TEST(MissCounters, CountOnlyTheirOwnEntriesAndSaturate)
{
    ClearMissCounts();
    CountLatinMiss("a");
    CountLatinMiss("");
    CountLatinMiss(QString::fromUtf16(u"ア"));
    for (int i = 1; i <= LatinCharCount; ++i)
        EXPECT_EQ(LatinMissCount[i], 0);
    CountLatinMiss("A");
    CountLatinMiss(QString::fromUtf16(u"訂正"));
    CountLatinMiss("\"");
    EXPECT_EQ(LatinMissCount[1], 1);
    EXPECT_EQ(LatinMissCount[48], 1);
    EXPECT_EQ(LatinMissCount[47], 1);

    CountKanaMiss(0);
    CountKanaMiss(69);
    CountKanaMiss(-3);
    CountKanaMiss(GetKanaIndex(QString::fromUtf16(u"ホレ")));
    EXPECT_EQ(KanaMissCount[67], 1);
    EXPECT_EQ(KanaMissCount[0], 0);

    KanaMissCount[5] = 32767;
    CountKanaMiss(5);
    EXPECT_EQ(KanaMissCount[5], 32767);
    ClearMissCounts();
}
