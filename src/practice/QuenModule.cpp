#include "practice/QuenModule.h"

#include "platform/numbers.h"

namespace {
template <std::size_t N>
std::array<QString, N> table(std::initializer_list<const char16_t*> texts)
{
    std::array<QString, N> t;
    std::size_t i = 1;
    for (const char16_t* text : texts)
        t[i++] = QString::fromUtf16(text);
    return t;
}

template <std::size_t N>
std::int16_t indexIn(const std::array<QString, N>& t, const QString& text)
{
    for (std::size_t i = 1; i < N; ++i)
        if (t[i] == text)
            return static_cast<std::int16_t>(i);
    return 0;
}
} // namespace

const std::array<QString, LatinCharCount + 1> LatinCharTable = table<LatinCharCount + 1>({
    u"A", u"B", u"C", u"D", u"E", u"F", u"G", u"H", u"I", u"J", u"K", u"L", u"M",
    u"N", u"O", u"P", u"Q", u"R", u"S", u"T", u"U", u"V", u"W", u"X", u"Y", u"Z",
    u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"0",
    u".", u",", u"?", u"/", u"(", u")", u"=", u"+", u"-", u"'", u"\"", u"訂正",
});

const std::array<QString, KanaCharCount + 1> KanaCharTable = table<KanaCharCount + 1>({
    u"ア", u"イ", u"ウ", u"エ", u"オ", u"カ", u"キ", u"ク", u"ケ", u"コ",
    u"サ", u"シ", u"ス", u"セ", u"ソ", u"タ", u"チ", u"ツ", u"テ", u"ト",
    u"ナ", u"ニ", u"ヌ", u"ネ", u"ノ", u"ハ", u"ヒ", u"フ", u"ヘ", u"ホ",
    u"マ", u"ミ", u"ム", u"メ", u"モ", u"ヤ", u"ヰ", u"ユ", u"ヱ", u"ヨ",
    u"ラ", u"リ", u"ル", u"レ", u"ロ", u"ワ", u"ヲ", u"ン",
    u"濁点", u"ﾟ", u"一", u"二", u"三", u"四", u"五", u"六", u"七", u"八", u"九",
    u"〇", u"ー", u"、", u"」", u"(", u")", u"？", u"ホレ", u"ラタ",
});

std::array<std::int16_t, LatinCharCount + 1> LatinMissCount{};
std::array<std::int16_t, KanaCharCount + 1> KanaMissCount{};

void CountLatinMiss(const QString& text)
{
    if (std::int16_t i = indexIn(LatinCharTable, text))
        platform::saturatingIncrement(LatinMissCount[i]);
}

void CountKanaMiss(std::int16_t index)
{
    if (index >= 1 && index <= KanaCharCount)
        platform::saturatingIncrement(KanaMissCount[index]);
}

QString GetKanaText(std::int16_t index)
{
    return index >= 1 && index <= KanaCharCount ? KanaCharTable[index] : QString();
}

std::int16_t GetKanaIndex(const QString& text) { return indexIn(KanaCharTable, text); }
std::int16_t GetLatinIndex(const QString& text) { return indexIn(LatinCharTable, text); }

void ClearMissCounts()
{
    LatinMissCount.fill(0);
    KanaMissCount.fill(0);
}
