#include "material/ExamTextReader.h"

#include "material/ExamSampleBuilders.h"

#include <QHash>
#include <QString>

namespace {

struct CharacterList {
    const char16_t* rowKey;
    const char16_t* characters;
};

// Each line one code row and the characters that sound as it; no character is in
// two lists.
constexpr CharacterList lists[] = {
    {u"=", u"=ﾒメめ"},
    {u"+", u"+ﾝンん"},
    {u".", u"終.､、"},
    {u",", u"小,"},
    {u"?", u"?？"},
    {u"/", u"/ﾓモも"},
    {u"\"", u"引\""},
    {u"'", u"略'"},
    {u"-", u"-"},
    {u"訂正", u"訂"},
    {u"A", u"AaＡａｲｨイいィぃ"},
    {u"B", u"BbＢｂﾊハは"},
    {u"C", u"CcＣｃﾆニに"},
    {u"D", u"DdＤｄﾎホほ"},
    {u"E", u"EeＥｅﾍヘへ"},
    {u"F", u"FfＦｆﾁチち"},
    {u"G", u"GgＧｇﾘリり"},
    {u"H", u"HhＨｈﾇヌぬ"},
    {u"I", u"IiＩｉﾞ"},
    {u"J", u"JjＪｊｦヲを"},
    {u"K", u"KkＫｋﾜワわ"},
    {u"L", u"LlＬｌｶカか"},
    {u"M", u"MmＭｍﾖｮヨよョょ"},
    {u"N", u"NnＮｎﾀタた"},
    {u"O", u"OoＯｏﾚレれ"},
    {u"P", u"PpＰｐﾂｯツつッっ"},
    {u"Q", u"QqＱｑﾈネね"},
    {u"R", u"RrＲｒﾅナな"},
    {u"S", u"SsＳｓﾗラら"},
    {u"T", u"TtＴｔﾑムむ"},
    {u"U", u"UuＵｕｳｩウうゥぅ"},
    {u"V", u"VvＶｖｸクく"},
    {u"W", u"WwＷｗﾔｬヤやャゃ"},
    {u"X", u"XxＸｘﾏマま"},
    {u"Y", u"YyＹｙｹケけ"},
    {u"Z", u"ZzＺｚﾌフふ"},
    {u"ロ", u"ﾛロろ"},
    {u"ト", u"ﾄトと"},
    {u"(", u"ﾙルる"}, // ル shares the code of the Latin "("
    {u"ソ", u"ｿソそ"},
    {u"ノ", u"ﾉノの"},
    {u"オ", u"ｵｫオおォぉ"},
    {u"コ", u"ｺコこ"},
    {u"エ", u"ｴｪエえェぇ"},
    {u"テ", u"ﾃテて"},
    {u"ア", u"ｱｧアあァぁ"},
    {u"サ", u"ｻサさ"},
    {u"キ", u"ｷキき"},
    {u"ユ", u"ﾕｭユゆュゅ"},
    {u"ミ", u"ﾐミみ"},
    {u"シ", u"ｼシし"},
    {u"ヒ", u"ﾋヒひ"},
    {u"セ", u"ｾセせ"},
    {u"ス", u"ｽスす"},
    {u"ﾟ", u"ﾟ゜"},
    {u"ー", u"ｰー"},
    {u"」", u"｣」"},
    {u"ヰ", u"ヰゐ"},
    {u"ヱ", u"ヱゑ"},
    {u"1", u"1１一"},
    {u"2", u"2２二"},
    {u"3", u"3３三"},
    {u"4", u"4４四"},
    {u"5", u"5５五"},
    {u"6", u"6６六"},
    {u"7", u"7７七"},
    {u"8", u"8８八"},
    {u"9", u"9９九"},
    {u"0", u"0０〇"},
};

struct VoicedRow {
    const char16_t* katakana;
    const char16_t* hiragana;
    const char16_t* plain; // half-width, in the same order
    VoicingMark mark;
};

constexpr VoicedRow voiced[] = {
    {u"ガギグゲゴ", u"がぎぐげご", u"ｶｷｸｹｺ", VoicingMark::Dakuten},
    {u"ザジズゼゾ", u"ざじずぜぞ", u"ｻｼｽｾｿ", VoicingMark::Dakuten},
    {u"ダヂヅデド", u"だぢづでど", u"ﾀﾁﾂﾃﾄ", VoicingMark::Dakuten},
    {u"バビブベボ", u"ばびぶべぼ", u"ﾊﾋﾌﾍﾎ", VoicingMark::Dakuten},
    {u"パピプペポ", u"ぱぴぷぺぽ", u"ﾊﾋﾌﾍﾎ", VoicingMark::Handakuten},
};

struct Token {
    const char16_t* text;
    BracketSign sign;
};

constexpr Token tokens[] = {
    {u"[ﾎﾚ]", BracketSign::Hore},   {u"「ホレ」", BracketSign::Hore}, {u"「ほれ」", BracketSign::Hore},
    {u"[ﾗﾀ]", BracketSign::Rata},   {u"「ラタ」", BracketSign::Rata}, {u"「らた」", BracketSign::Rata},
    {u"[BT]", BracketSign::BT},     {u"[bt]", BracketSign::BT},       {u"「ＢＴ」", BracketSign::BT},
    {u"「ｂｔ」", BracketSign::BT}, {u"[AR]", BracketSign::AR},       {u"[ar]", BracketSign::AR},
    {u"「ＡＲ」", BracketSign::AR}, {u"「ａｒ」", BracketSign::AR},
};

const QHash<char16_t, int>& listRows()
{
    static const QHash<char16_t, int> rows = [] {
        QHash<char16_t, int> h;
        for (const CharacterList& l : lists) {
            const int row = MorseRowOfKey(l.rowKey);
            for (const char16_t* c = l.characters; *c; ++c)
                h.insert(*c, row);
        }
        return h;
    }();
    return rows;
}

} // namespace

VoicedKanaReading ReadVoicedKana(QChar ch)
{
    for (const VoicedRow& v : voiced) {
        for (int i = 0; i < 5; ++i)
            if (ch == QChar(v.katakana[i]) || ch == QChar(v.hiragana[i]))
                return {QChar(v.plain[i]), v.mark};
    }
    return {ch, VoicingMark::None};
}

int VoicingMarkRow(VoicingMark mark)
{
    switch (mark) {
    case VoicingMark::Dakuten:
        return MorseRowOfKey(u"I");
    case VoicingMark::Handakuten:
        return MorseRowOfKey(u"ﾟ");
    case VoicingMark::None:
        break;
    }
    return 0;
}

bool IsLineBreak(QChar ch) { return ch == u'\r' || ch == u'\n'; }
bool IsWordSpace(QChar ch) { return ch == u' ' || ch == u'　'; }
bool OpensBracket(QChar ch) { return ch == u'[' || ch == u'「'; }

BracketSign ReadBracketToken(QStringView window)
{
    for (const Token& t : tokens)
        if (window == QStringView(t.text))
            return t.sign;
    return BracketSign::None;
}

int BracketSignRow(BracketSign sign)
{
    switch (sign) {
    case BracketSign::Hore:
        return MorseRowOfKey(u"ホレ");
    case BracketSign::Rata:
        return MorseRowOfKey(u"ラタ");
    case BracketSign::BT:
        return MorseRowOfKey(u"=");
    case BracketSign::AR:
        return MorseRowOfKey(u"+");
    case BracketSign::None:
        break;
    }
    return 0;
}

int CharacterListRow(QChar ch) { return listRows().value(ch.unicode(), 0); }

int ExamCharacterRow(QChar ch, bool kanaCodes)
{
    if (ch == u'(' || ch == u'（')
        return MorseRowOfKey(kanaCodes ? u")" : u"(");
    if (ch == u')' || ch == u'）')
        return MorseRowOfKey(kanaCodes ? u"\"" : u")");
    if (ch == u'＝')
        return MorseRowOfKey(u"=");
    if (ch == u'＋')
        return MorseRowOfKey(u"+");
    if (ch == u'－')
        return MorseRowOfKey(u"-");
    return CharacterListRow(ch);
}
