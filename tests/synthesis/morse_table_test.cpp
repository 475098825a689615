#include "synthesis/MorseCodeTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

TEST(MorseCodeTable, LengthsFollowFromTheCodes)
{
    ASSERT_EQ(MorseCodeTable().size(), 72u);
    std::set<std::string> codes;
    for (const auto& row : MorseCodeTable()) {
        // A dot is 1 unit, a dash 3, with 1 unit between elements.
        const auto elements = static_cast<int>(std::strlen(row.code));
        EXPECT_EQ(row.n, 2 * elements - 1 + 2 * std::count(row.code, row.code + elements, '-')) << row.code;
        EXPECT_TRUE(codes.insert(row.code).second) << "duplicate code " << row.code;
    }
    EXPECT_EQ(MorseRowAt(MorseRowOfLatin(5)).n, 1);   // E
    EXPECT_EQ(MorseRowAt(MorseRowOfLatin(36)).n, 19); // 0
    EXPECT_STREQ(MorseRowAt(MorseRowOfLatin(48)).code, "........");
}

TEST(MorseCodeTable, LatinRowsAreInTableOrderAndEveryKanaHasExactlyOneRow)
{
    for (int i = 1; i <= 48; ++i)
        EXPECT_EQ(MorseRowAt(MorseRowOfLatin(i)).latinIndex, i);
    std::multiset<int> kana;
    for (const auto& row : MorseCodeTable())
        if (row.kanaIndex)
            kana.insert(row.kanaIndex);
    ASSERT_EQ(kana.size(), 68u);
    for (int k = 1; k <= 68; ++k) {
        EXPECT_EQ(kana.count(k), 1u) << k;
        EXPECT_EQ(MorseRowAt(MorseRowOfKana(k)).kanaIndex, k);
    }
    EXPECT_EQ(MorseRowOfKana(0), 0);
    EXPECT_EQ(MorseRowOfKana(69), 0);
    EXPECT_EQ(MorseRowOfLatin(49), 0);
}

TEST(MorseCodeTable, BracketsChangeTheirCodeWithTheAlphabet)
{
    // Latin "(" and ")"; kana "(" (64) and ")" (65); ル shares the Latin "(".
    EXPECT_STREQ(MorseRowAt(MorseRowOfLatin(41)).code, "-.--.");
    EXPECT_STREQ(MorseRowAt(MorseRowOfLatin(42)).code, "-.--.-");
    EXPECT_STREQ(MorseRowAt(MorseRowOfKana(64)).code, "-.--.-");
    EXPECT_STREQ(MorseRowAt(MorseRowOfKana(65)).code, ".-..-.");
    EXPECT_EQ(MorseRowOfKana(43), MorseRowOfLatin(41));
    EXPECT_EQ(MorseRowAt(MorseRowOfKana(67)).n, 19); // ホレ
}
