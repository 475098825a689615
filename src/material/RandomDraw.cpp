#include "material/RandomDraw.h"

#include "keypad/UserChosen.h"
#include "platform/process.h"
#include "practice/QuenModule.h"

#include <cmath>

const char* const LatinRangeNames[13] = {
    "Limit_AtoE", "Limit_FtoJ", "Limit_KtoO", "Limit_PtoT", "Limit_UtoZ",
    "Limit_Alphabets", "Limit_Numbers", "Limit_Marks", "Limit_AlphabetsNumbers",
    "Limit_AlphabetsMarks", "Limit_NumbersMarks", "Limit_All", "Limit_User",
};

namespace {
struct Span {
    int n, b;
};
// Spans of the first twelve Latin ranges (the user set is walked instead).
constexpr Span latinSpans[12] = {{5, 1},   {5, 6},   {5, 11},  {5, 16},  {6, 21},  {26, 1},
                                 {10, 27}, {12, 37}, {36, 1},  {38, 1},  {22, 27}, {48, 1}};
// Kana ranges 1..17; range 16 on the Beep road has 17 candidates.
constexpr Span kanaSpans[17] = {{5, 1},  {5, 6},  {5, 11}, {5, 16},  {5, 21}, {5, 26},
                                {5, 31}, {5, 36}, {5, 41}, {5, 46},  {10, 51}, {7, 61},
                                {50, 1}, {60, 1}, {58, 1}, {18, 51}, {68, 1}};

int drawFrom(float r, int n, int b) { return static_cast<int>(std::floor(static_cast<double>(r) * n + b)); }

// The n-th chosen element of a set, or n itself when the walk ends first.
template <typename Chosen>
int nthChosen(int n, int size, Chosen isChosen)
{
    int seen = 0;
    for (int i = 1; i <= size; ++i)
        if (isChosen(i) && ++seen == n)
            return i;
    return n;
}
} // namespace

float ReseededDraw()
{
    platform::randomizeFromClock();
    float r0 = platform::rnd();
    auto k = static_cast<std::int16_t>(std::floor(static_cast<double>(r0) * 1000 + 1));
    platform::randomize(k);
    return platform::rnd();
}

int DrawLatinIndex(const QString& rangeName)
{
    float r = ReseededDraw();
    int range = 0;
    for (int i = 0; i < 13; ++i)
        if (rangeName == QLatin1String(LatinRangeNames[i]))
            range = i + 1;
    if (range == 0)
        return 0;
    if (range == 13) {
        int n = static_cast<int>(std::floor(static_cast<double>(r) * static_cast<float>(LatinUserChosenCount) + 1));
        return nthChosen(n, 48, IsLatinUserChosen);
    }
    int index = drawFrom(r, latinSpans[range - 1].n, latinSpans[range - 1].b);
    if (range == 10 && index >= 27) // letters and marks: 27..38 stand for 37..48
        index += 10;
    return index;
}

int DrawKanaIndex(int range, bool beepRoad)
{
    float r = ReseededDraw();
    if (range < 1 || range > 18)
        return 0;
    if (range == 18) {
        int n = static_cast<int>(std::floor(static_cast<double>(r) * KanaUserChosenCount + 1));
        return nthChosen(n, 68, IsKanaUserChosen);
    }
    Span s = kanaSpans[range - 1];
    if (range == 16 && beepRoad)
        s.n = 17;
    int index = drawFrom(r, s.n, s.b);
    if (range == 15 && index >= 51) // kana and marks: 51..58 stand for 61..68
        index += 10;
    return index;
}

QString PickRandomLatin(const QString& rangeName)
{
    int index = DrawLatinIndex(rangeName);
    if (index == 48)
        return QString::fromUtf16(u"訂");
    return index >= 1 && index <= 48 ? LatinCharTable[index] : QString();
}
