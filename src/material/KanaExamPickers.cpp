#include "material/KanaExamPickers.h"

#include "keypad/UserChosen.h"
#include "material/RandomDraw.h"
#include "practice/QuenModule.h"
#include "settings/SharedSettings.h"
#include "sounding/makeBeep.h"
#include "synthesis/MorseCodeTable.h"

#include <array>
#include <cmath>

namespace {
constexpr int dakuten = 49;
constexpr int handakuten = 50;

struct Entry {
    QString text; // the Beep road's name
    int kana = 0;
    int mark = 0;
};

// Built from the kana table: the voiced rows go in after their plain rows.
const std::array<Entry, KanaExamCharCount + 1>& entries()
{
    static const std::array<Entry, KanaExamCharCount + 1> table = [] {
        std::array<Entry, KanaExamCharCount + 1> t;
        int e = 1;
        auto plain = [&](int from, int to) {
            for (int i = from; i <= to; ++i)
                t[e++] = {KanaCharTable[i], i, 0};
        };
        auto voiced = [&](const char16_t* texts, int from, int mark) {
            for (int k = 0; k < 5; ++k)
                t[e++] = {QString(QChar(texts[k])), from + k, mark};
        };
        plain(1, 10);
        voiced(u"ガギグゲゴ", 6, dakuten);
        plain(11, 15);
        voiced(u"ザジズゼゾ", 11, dakuten);
        plain(16, 20);
        voiced(u"ダヂヅデド", 16, dakuten);
        plain(21, 30);
        voiced(u"バビブベボ", 26, dakuten);
        voiced(u"パピプペポ", 26, handakuten);
        plain(31, 68);
        return t;
    }();
    return table;
}

// KanaExamCharTable entry of KanaCharTable index i.
int entryOfKana(int i)
{
    if (i <= 10)
        return i;
    if (i <= 15)
        return i + 5;
    if (i <= 20)
        return i + 10;
    if (i <= 30)
        return i + 15;
    return i + 25;
}

struct Span {
    int first, last;
};

// Ranges 1..17; the row ranges with voiced kana give the span without them first.
Span spanOf(int range, bool beepRoad)
{
    const bool exclude = KanaExcludeDakuten == -1;
    switch (range) {
    case 1: return {1, 5};
    case 2: return exclude ? Span{6, 10} : Span{6, 15};
    case 3: return exclude ? Span{16, 20} : Span{16, 25};
    case 4: return exclude ? Span{26, 30} : Span{26, 35};
    case 5: return {36, 40};
    case 6: return exclude ? Span{41, 45} : Span{41, 55};
    case 7: return {56, 60};
    case 8: return {61, 65};
    case 9: return {66, 70};
    case 10: return {71, 75};
    case 11: return {76, 85};
    case 12: return {86, 93};
    case 13: return {1, 73};
    case 14: return {1, 85};
    case 15: return {1, beepRoad ? 83 : 82}; // of the 83-entry table
    case 16: return {76, beepRoad ? 93 : 92};
    case 17: return {1, 92};
    default: return {0, -1};
    }
}

// The 83-entry table of range 15: the kana and the two marks (1..75), then the
// marks and signs 86..93.
int withMarksToEntry(int i) { return i <= 75 ? i : i + 10; }

int drawUserSet(float r)
{
    std::array<bool, KanaExamCharCount + 1> in{};
    int count = 0;
    auto add = [&](int e) {
        if (!in[e]) {
            in[e] = true;
            ++count;
        }
    };
    const bool voicedToo = IsKanaUserChosen(dakuten);
    const bool halfVoicedToo = IsKanaUserChosen(handakuten);
    for (int i = 1; i <= KanaCharCount; ++i) {
        if (!IsKanaUserChosen(i))
            continue;
        add(entryOfKana(i));
        if (voicedToo) {
            if (i >= 6 && i <= 10)
                add(i + 5);
            else if (i >= 11 && i <= 15)
                add(i + 10);
            else if (i >= 16 && i <= 20)
                add(i + 15);
            else if (i >= 26 && i <= 30)
                add(i + 20);
        }
        if (halfVoicedToo && i >= 26 && i <= 30)
            add(i + 25);
    }
    const int n = static_cast<int>(std::floor(static_cast<double>(count) * r + 1));
    int seen = 0;
    for (int e = 1; e <= KanaExamCharCount; ++e)
        if (in[e] && ++seen == n)
            return e;
    return n; // nothing chosen: ア
}
} // namespace

QString KanaExamEntryText(int entry, bool beepRoad)
{
    if (entry < 1 || entry > KanaExamCharCount)
        return QString();
    if (!beepRoad) {
        // The compiler reads the signs in corner brackets and the marks alone.
        switch (entry) {
        case 74: return QString::fromUtf16(u"ﾞ");
        case 92: return QString::fromUtf16(u"「ホレ」");
        case 93: return QString::fromUtf16(u"「ラタ」");
        default: break;
        }
    }
    return entries()[entry].text;
}

int KanaExamEntryKana(int entry) { return entry >= 1 && entry <= KanaExamCharCount ? entries()[entry].kana : 0; }

int KanaExamEntryMark(int entry) { return entry >= 1 && entry <= KanaExamCharCount ? entries()[entry].mark : 0; }

int DrawKanaExamEntry(int range, bool beepRoad)
{
    const float r = ReseededDraw();
    if (range == 18)
        return drawUserSet(r);
    const Span s = spanOf(range, beepRoad);
    if (s.first == 0)
        return 0;
    const int e = static_cast<int>(std::floor(static_cast<double>(r) * (s.last - s.first + 1) + s.first));
    return range == 15 ? withMarksToEntry(e) : e;
}

QString PickRandomExamKana(std::int16_t range) { return KanaExamEntryText(DrawKanaExamEntry(range, false), false); }

QString PlayRandomExamKanaBeep(std::int16_t range, std::int16_t unit, std::int16_t tone)
{
    const int e = DrawKanaExamEntry(range, true);
    if (e == 0)
        return QString();
    const QString text = KanaExamEntryText(e, true);
    const std::int32_t dash = 3 * static_cast<std::int32_t>(unit);
    BeepMorseRow(MorseRowOfKana(KanaExamEntryKana(e)), text, unit, dash, tone);
    if (const int mark = KanaExamEntryMark(e))
        BeepMorseRow(MorseRowOfKana(mark), KanaCharTable[mark], unit, dash, tone);
    return text;
}
