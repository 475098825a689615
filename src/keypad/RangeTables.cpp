#include "keypad/RangeTables.h"

#include "practice/frmMain.h"

namespace {
bool inSpans(const std::array<IndexSpan, 2>& spans, int i)
{
    for (const IndexSpan& s : spans)
        if (i >= s.first && i <= s.last)
            return true;
    return false;
}
} // namespace

const std::array<LatinRange, LatinRangeCount + 1> LatinRangeTable = {{
    {"", "", {}},
    {"AtoE", "Limit_AtoE", {{{1, 5}}}},
    {"FtoJ", "Limit_FtoJ", {{{6, 10}}}},
    {"KtoO", "Limit_KtoO", {{{11, 15}}}},
    {"PtoT", "Limit_PtoT", {{{16, 20}}}},
    {"UtoZ", "Limit_UtoZ", {{{21, 26}}}},
    {"AllAlphabets", "Limit_Alphabets", {{{1, 26}}}},
    {"Numbers", "Limit_Numbers", {{{27, 36}}}},
    {"Marks", "Limit_Marks", {{{37, 48}}}},
    {"AlphabetsNumbers", "Limit_AlphabetsNumbers", {{{1, 36}}}},
    {"AlphabetsMarks", "Limit_AlphabetsMarks", {{{1, 26}, {37, 48}}}},
    {"NumbersMarks", "Limit_NumbersMarks", {{{27, 48}}}},
    {"All", "Limit_All", {{{1, 48}}}},
    {"User", "Limit_User", {{{1, 48}}}},
}};

const std::array<KanaRange, KanaRangeCount + 1> KanaRangeTable = {{
    {{}, nullptr},
    {{{{1, 5}}}, nullptr},
    {{{{6, 10}}}, u"濁点を練習しない"},
    {{{{11, 15}}}, u"濁点を練習しない"},
    {{{{16, 20}}}, u"濁点を練習しない"},
    {{{{21, 25}}}, nullptr},
    {{{{26, 30}}}, u"濁点・半濁点を練習しない"},
    {{{{31, 35}}}, nullptr},
    {{{{36, 40}}}, nullptr},
    {{{{41, 45}}}, nullptr},
    {{{{46, 50}}}, nullptr},
    {{{{51, 60}}}, nullptr},
    {{{{61, 68}}}, nullptr},
    {{{{1, 50}}}, nullptr},
    {{{{1, 60}}}, nullptr},
    {{{{1, 50}, {61, 68}}}, nullptr},
    {{{{51, 68}}}, nullptr},
    {{{{1, 68}}}, nullptr},
    {{{{1, 68}}}, nullptr},
}};

bool LatinRangeHasKey(int row, int i)
{
    return row >= 1 && row <= LatinRangeCount && inSpans(LatinRangeTable[row].keys, i);
}

bool KanaRangeHasKey(int row, int i)
{
    return row >= 1 && row <= KanaRangeCount && inSpans(KanaRangeTable[row].keys, i);
}

int CheckedLatinRangeRow()
{
    FrmMain& f = frmMain();
    for (int row = 1; row <= LatinRangeCount; ++row)
        if (f.LatinRangeItem(row).checked())
            return row;
    return 0;
}
