#include "sounding/TextReading.h"

#include "synthesis/MorseCodeTable.h"

#include <QHash>

namespace {
// Each line: the characters of one list and the key of the code row they send.
struct CharList {
    const char16_t* chars;
    const char16_t* rowKey;
};

constexpr CharList charLists[] = {
    {u"=ﾒメめ", u"="},
    {u"+ﾝンん", u"+"},
    {u"終.､、", u"."},
    {u"小,", u","},
    {u"?？", u"?"},
    {u"/ﾓモも", u"/"},
    {u"引\"", u"\""},
    {u"略'", u"'"},
    {u"-", u"-"},
    {u"訂", u"訂正"},
    {u"AaＡａｲｨイいィぃ", u"A"},
    {u"BbＢｂﾊハは", u"B"},
    {u"CcＣｃﾆニに", u"C"},
    {u"DdＤｄﾎホほ", u"D"},
    {u"EeＥｅﾍヘへ", u"E"},
    {u"FfＦｆﾁチち", u"F"},
    {u"GgＧｇﾘリり", u"G"},
    {u"HhＨｈﾇヌぬ", u"H"},
    {u"IiＩｉﾞ", u"I"},
    {u"JjＪｊｦヲを", u"J"},
    {u"KkＫｋﾜワわ", u"K"},
    {u"LlＬｌｶカか", u"L"},
    {u"MmＭｍﾖｮヨよョょ", u"M"},
    {u"NnＮｎﾀタた", u"N"},
    {u"OoＯｏﾚレれ", u"O"},
    {u"PpＰｐﾂｯツつッっ", u"P"},
    {u"QqＱｑﾈネね", u"Q"},
    {u"RrＲｒﾅナな", u"R"},
    {u"SsＳｓﾗラら", u"S"},
    {u"TtＴｔﾑムむ", u"T"},
    {u"UuＵｕｳｩウうゥぅ", u"U"},
    {u"VvＶｖｸクく", u"V"},
    {u"WwＷｗﾔｬヤやャゃ", u"W"},
    {u"XxＸｘﾏマま", u"X"},
    {u"YyＹｙｹケけ", u"Y"},
    {u"ZzＺｚﾌフふ", u"Z"},
    {u"ﾛロろ", u"ロ"},
    {u"ﾄトと", u"ト"},
    {u"ﾙルる", u"("},
    {u"ｿソそ", u"ソ"},
    {u"ﾉノの", u"ノ"},
    {u"ｵｫオおォぉ", u"オ"},
    {u"ｺコこ", u"コ"},
    {u"ｴｪエえェぇ", u"エ"},
    {u"ﾃテて", u"テ"},
    {u"ｱｧアあァぁ", u"ア"},
    {u"ｻサさ", u"サ"},
    {u"ｷキき", u"キ"},
    {u"ﾕｭユゆュゅ", u"ユ"},
    {u"ﾐミみ", u"ミ"},
    {u"ｼシし", u"シ"},
    {u"ﾋヒひ", u"ヒ"},
    {u"ｾセせ", u"セ"},
    {u"ｽスす", u"ス"},
    {u"ﾟ゜", u"ﾟ"},
    {u"ｰー", u"ー"},
    {u"｣」", u"」"},
    {u"ヰゐ", u"ヰ"},
    {u"ヱゑ", u"ヱ"},
    {u"1１一", u"1"},
    {u"2２二", u"2"},
    {u"3３三", u"3"},
    {u"4４四", u"4"},
    {u"5５五", u"5"},
    {u"6６六", u"6"},
    {u"7７七", u"7"},
    {u"8８八", u"8"},
    {u"9９九", u"9"},
    {u"0０〇", u"0"},
};

int rowOfKey(const char16_t* key)
{
    const auto rows = MorseCodeTable();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (QStringView(rows[i].key) == QStringView(key))
            return static_cast<int>(i) + 1;
    return 0;
}

const QHash<char16_t, int>& listRows()
{
    static const QHash<char16_t, int> rows = [] {
        QHash<char16_t, int> h;
        for (const CharList& l : charLists) {
            const int row = rowOfKey(l.rowKey);
            for (const char16_t* c = l.chars; *c; ++c)
                h.insert(*c, row);
        }
        return h;
    }();
    return rows;
}

// Voiced kana, five to a row, with the half-width plain kana of each position.
struct VoicedRow {
    const char16_t* katakana;
    const char16_t* hiragana;
    const char16_t* plain;
    char16_t mark;
};
constexpr VoicedRow voicedRows[] = {
    {u"ガギグゲゴ", u"がぎぐげご", u"ｶｷｸｹｺ", u'ﾞ'},
    {u"ザジズゼゾ", u"ざじずぜぞ", u"ｻｼｽｾｿ", u'ﾞ'},
    {u"ダヂヅデド", u"だぢづでど", u"ﾀﾁﾂﾃﾄ", u'ﾞ'},
    {u"バビブベボ", u"ばびぶべぼ", u"ﾊﾋﾌﾍﾎ", u'ﾞ'},
    {u"パピプペポ", u"ぱぴぷぺぽ", u"ﾊﾋﾌﾍﾎ", u'ﾟ'},
};

struct Token {
    const char16_t* text;
    const char16_t* rowKey;
    bool wordGap;
};
constexpr Token tokens[] = {
    {u"[ﾎﾚ]", u"ホレ", false},  {u"「ホレ」", u"ホレ", false}, {u"「ほれ」", u"ホレ", false},
    {u"[ﾗﾀ]", u"ラタ", false},  {u"「ラタ」", u"ラタ", false}, {u"「らた」", u"ラタ", false},
    {u"[BT]", u"=", true},      {u"[bt]", u"=", true},       {u"「ＢＴ」", u"=", true},
    {u"「ｂｔ」", u"=", true},   {u"[AR]", u"+", false},      {u"[ar]", u"+", false},
    {u"「ＡＲ」", u"+", false},  {u"「ａｒ」", u"+", false},
};
} // namespace

bool SplitVoicedKana(QChar ch, QChar& plain, QChar& mark)
{
    for (const VoicedRow& r : voicedRows)
        for (int k = 0; k < 5; ++k)
            if (ch.unicode() == r.katakana[k] || ch.unicode() == r.hiragana[k]) {
                plain = QChar(r.plain[k]);
                mark = QChar(r.mark);
                return true;
            }
    return false;
}

int ParenthesisRow(QChar ch, bool kanaCodes)
{
    const bool open = ch == u'(' || ch == u'（';
    if (!open && ch != u')' && ch != u'）')
        return 0;
    if (kanaCodes)
        return rowOfKey(open ? u")" : u"\"");
    return rowOfKey(open ? u"(" : u")");
}

int TextListRow(QChar ch) { return listRows().value(ch.unicode(), 0); }

int BracketTokenRow(const QString& window, bool* wordGap)
{
    for (const Token& t : tokens)
        if (window == QStringView(t.text)) {
            if (wordGap)
                *wordGap = t.wordGap;
            return rowOfKey(t.rowKey);
        }
    if (wordGap)
        *wordGap = false;
    return 0;
}
