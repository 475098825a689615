// The kana side of the keyboard: romaji entry for the code check, for answering a
// single-character question and for marking user-chosen kana.
#include "answer/RomajiReader.h"

#include "answer/AnswerKeys.h"
#include "keypad/UserChosen.h"
#include "platform/numbers.h"
#include "practice/QuenModule.h"
#include "practice/Question.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "sounding/PlayCharacter.h"
#include "synthesis/Delay.h"

using namespace forms;

// The tables are laid out by kind and by kana row.
// clang-format off
const std::array<RomajiKey, 40> RomajiKeyTable = {{
    {8, u"ラタ"}, {34, u"\""}, {40, u"("}, {41, u")"}, {44, u","}, {45, u"-"},
    {48, u"\u3007"}, {49, u"一"}, {50, u"二"}, {51, u"三"}, {52, u"四"},
    {53, u"五"}, {54, u"六"}, {55, u"七"}, {56, u"八"}, {57, u"九"},
    {63, u"\uFF1F"},
    {'A', u"A"}, {'B', u"B"}, {'D', u"D"}, {'E', u"E"}, {'F', u"F"}, {'G', u"G"}, {'H', u"H"},
    {'I', u"I"}, {'J', u"J"}, {'K', u"K"}, {'M', u"M"}, {'N', u"N"}, {'O', u"O"}, {'P', u"P"},
    {'R', u"R"}, {'S', u"S"}, {'T', u"T"}, {'U', u"U"}, {'W', u"W"}, {'Y', u"Y"}, {'Z', u"Z"},
    {91, u"ホレ"}, {93, u"]"},
}};

const std::array<RomajiToken, 95> RomajiTokenTable = {{
    {u"A", u"ア"}, {u"I", u"イ"}, {u"U", u"ウ"}, {u"E", u"エ"}, {u"O", u"オ"},
    {u"KA", u"カ"}, {u"KI", u"キ"}, {u"KU", u"ク"}, {u"KE", u"ケ"}, {u"KO", u"コ"},
    {u"GA", u"ガ"}, {u"GI", u"ギ"}, {u"GU", u"グ"}, {u"GE", u"ゲ"}, {u"GO", u"ゴ"},
    {u"SA", u"サ"}, {u"SI", u"シ"}, {u"SU", u"ス"}, {u"SE", u"セ"}, {u"SO", u"ソ"},
    {u"ZA", u"ザ"}, {u"ZI", u"ジ"}, {u"JI", u"ジ"}, {u"ZU", u"ズ"}, {u"ZE", u"ゼ"}, {u"ZO", u"ゾ"},
    {u"TA", u"タ"}, {u"TI", u"チ"}, {u"TU", u"ツ"}, {u"TE", u"テ"}, {u"TO", u"ト"},
    {u"DA", u"ダ"}, {u"DI", u"ヂ"}, {u"DU", u"ヅ"}, {u"DE", u"デ"}, {u"DO", u"ド"},
    {u"NA", u"ナ"}, {u"NI", u"ニ"}, {u"NU", u"ヌ"}, {u"NE", u"ネ"}, {u"NO", u"ノ"},
    {u"HA", u"ハ"}, {u"HI", u"ヒ"}, {u"HU", u"フ"}, {u"FU", u"フ"}, {u"HE", u"ヘ"}, {u"HO", u"ホ"},
    {u"BA", u"バ"}, {u"BI", u"ビ"}, {u"BU", u"ブ"}, {u"BE", u"ベ"}, {u"BO", u"ボ"},
    {u"PA", u"パ"}, {u"PI", u"ピ"}, {u"PU", u"プ"}, {u"PE", u"ペ"}, {u"PO", u"ポ"},
    {u"MA", u"マ"}, {u"MI", u"ミ"}, {u"MU", u"ム"}, {u"ME", u"メ"}, {u"MO", u"モ"},
    {u"YA", u"ヤ"}, {u"YI", u"ヰ"}, {u"YU", u"ユ"}, {u"YE", u"ヱ"}, {u"YO", u"ヨ"},
    {u"RA", u"ラ"}, {u"RI", u"リ"}, {u"RU", u"ル"}, {u"RE", u"レ"}, {u"RO", u"ロ"},
    {u"WA", u"ワ"}, {u"WO", u"ヲ"},
    {u"NN", u"ン"}, {u"\"", u"濁点"}, {u"HD", u"\uFF9F"}, {u"-", u"\u30FC"}, {u",", u"\u3001"},
    {u"]", u"\u300D"}, {u"(", u"("}, {u")", u")"}, {u"\uFF1F", u"\uFF1F"}, {u"ホレ", u"ホレ"},
    {u"ラタ", u"ラタ"},
    {u"一", u"一"}, {u"二", u"二"}, {u"三", u"三"}, {u"四", u"四"}, {u"五", u"五"},
    {u"六", u"六"}, {u"七", u"七"}, {u"八", u"八"}, {u"九", u"九"}, {u"\u3007", u"\u3007"},
}};
// clang-format on

namespace {
bool isAsciiDigit(int key) { return key >= '0' && key <= '9'; }

// Keys the code-check reader has read: a sounding during which it read some has left
// the label to the entry they began.
std::uint64_t codeCheckKeysRead = 0;

// Two Backspaces in a row throw the entry away.
const QString restartMark = QStringLiteral("ラタラタ");
} // namespace

QString RomajiKeyText(int keyAscii, RomajiDigits digits)
{
    if (digits == RomajiDigits::Ascii && isAsciiDigit(keyAscii))
        return QString(QChar(keyAscii));
    const int key = keyAscii >= 'a' && keyAscii <= 'z' ? keyAscii - ('a' - 'A') : keyAscii;
    for (const RomajiKey& k : RomajiKeyTable)
        if (k.keyAscii == key)
            return QString::fromUtf16(k.text);
    return QString();
}

QString RomajiTokenText(const QString& entry, RomajiDigits digits)
{
    // The digit tokens are the digits as their keys append them: with ASCII digits
    // the table's kanji tokens are reached through the digit key.
    QString token = entry;
    if (digits == RomajiDigits::Ascii) {
        for (int d = '0'; d <= '9'; ++d) {
            const QString kanji = RomajiKeyText(d, RomajiDigits::Kanji);
            if (entry == kanji)
                return QString();
            if (entry == QChar(d))
                token = kanji;
        }
    }
    for (const RomajiToken& t : RomajiTokenTable)
        if (token == QStringView(t.token))
            return QString::fromUtf16(t.kana);
    return QString();
}

namespace {
bool typeKeyTicked(FrmMain& f) { return f.checkTypeKey.value() == 1; }

void beginEntryIfNone(FrmMain& f)
{
    if (f.RomajiKeyCount != 0)
        return;
    f.Label1.setCaption(QString());
    f.Label1.setForeColor(vbBlack);
    f.RomajiBuffer.clear();
}

void append(FrmMain& f, const QString& text)
{
    f.RomajiBuffer += text;
    f.Label1.setCaption(f.Label1.caption() + text);
    platform::saturatingIncrement(f.RomajiKeyCount);
}

bool endsInRestart(FrmMain& f, int keyAscii) { return keyAscii == 8 && f.RomajiBuffer.endsWith(restartMark); }

void restartEntry(FrmMain& f)
{
    f.RomajiKeyCount = 0;
    f.Label1.setCaption(QString());
    f.RomajiBuffer.clear();
}

// The entry ends and its text is taken from the buffer, which is emptied.
QString takeEntry(FrmMain& f)
{
    f.RomajiKeyCount = 0;
    const QString kana = RomajiTokenText(f.RomajiBuffer, RomajiDigits::Ascii);
    f.RomajiBuffer.clear();
    return kana;
}

// Judges a typed answer. Only the first answer to the open question counts; an
// entry completed while none is open only ends. The focus stays where it is.
void judgeEntry(FrmMain& f, const QString& answer)
{
    if (question::answer(answer) && !f.isLoaded())
        return;
    f.RomajiKeyCount = 0;
}

void focusSelectedMode(FrmMain& f)
{
    for (OptionButton* o : {&f.optionKikitoriMode, &f.optionKikinagashiMode, &f.optionMogisikenMode})
        if (o->value()) {
            o->setFocus();
            return;
        }
}
} // namespace

bool RomajiCodeCheckKey(FrmMain& f, int keyAscii)
{
    if (!typeKeyTicked(f) || !f.optionKakuninMode.value())
        return false;
    // While a character repeats, the label shows that character, not typed keys: keys
    // are not read then. Esc stops the repetitions (the handler has already asked) and
    // empties the label, so the keys after it begin a new entry even inside the stopped
    // repetition's wait.
    if (CodeCheckRepeating())
        return true;
    ++codeCheckKeysRead;
    if (keyAscii == 27 && CodeCheckPlaying == -1)
        f.Label1.setCaption(QString());
    // The label is this reader's buffer: an empty one holds no keys, whatever count
    // the other readers left behind.
    if (f.Label1.caption().isEmpty())
        f.RomajiKeyCount = 0;
    const QString text = RomajiKeyText(keyAscii, RomajiDigits::Kanji);
    if (!text.isEmpty()) {
        f.Label1.setCaption(f.Label1.caption() + text);
        platform::saturatingIncrement(f.RomajiKeyCount);
    }
    const QString kana = RomajiTokenText(f.Label1.caption(), RomajiDigits::Kanji);
    if (!kana.isEmpty()) {
        const std::uint64_t keysBefore = codeCheckKeysRead;
        PlayCodeCheckCharacter(kana);
        if (!f.isLoaded())
            return true;
        if (codeCheckKeysRead == keysBefore) {
            f.Label1.setCaption(QString());
            f.RomajiKeyCount = 0;
        }
    }
    // No token is longer than two keys.
    if (f.RomajiKeyCount >= 3) {
        f.Label1.setCaption(QString());
        f.RomajiKeyCount = 0;
    }
    return true;
}

bool RomajiAnswerKey(FrmMain& f, int keyAscii)
{
    const bool limitReached = f.textLimitKikitoriMode.text() == QLatin1String("0") && AnswerTimeLimitSec != 0;
    if (!f.optionKikitoriMode.value() || f.StartButton_Command.enabled() || !typeKeyTicked(f) || limitReached)
        return false;
    // Every key ends the running time limit of the question; a key that adds to
    // the entry or ends it has begun the answer, and the countdown stays off.
    const QString text = RomajiKeyText(keyAscii, RomajiDigits::Ascii);
    question::keyReached(!text.isEmpty() || keyAscii == 27 || keyAscii == 13);
    beginEntryIfNone(f);
    if (!text.isEmpty()) {
        append(f, text);
    } else if (keyAscii == 27) {
        f.RomajiKeyCount = 0;
        judgeEntry(f, QStringLiteral("ESC"));
        return true;
    }
    if (keyAscii == 13) {
        const QString kana = takeEntry(f);
        judgeEntry(f, kana.isEmpty() ? QStringLiteral("ESC") : kana);
    } else if (endsInRestart(f, keyAscii)) {
        restartEntry(f);
    }
    return true;
}

bool RomajiRegistrationKey(FrmMain& f, int keyAscii)
{
    const int kind = f.comboMogisikenMode.listIndex();
    const bool groupExam = f.comboMogisikenMode.enabled() && (kind == 0 || kind == 1);
    const bool idle = f.StartButton_Command.enabled();
    if (!typeKeyTicked(f) || !(groupExam || idle))
        return false;
    beginEntryIfNone(f);
    const QString text = RomajiKeyText(keyAscii, RomajiDigits::Ascii);
    if (!text.isEmpty()) {
        append(f, text);
    } else if (keyAscii == 27) {
        f.Label1.setCaption(QString());
        f.RomajiKeyCount = 0;
        // Never an answer: an open question keeps waiting for its own.
        question::escapeWhileNoneOpen();
    }
    focusSelectedMode(f);
    if (keyAscii == 13) {
        const std::int16_t i = GetKanaIndex(takeEntry(f));
        if (i >= 1 && i <= KanaCharCount && f.StartButton_Command.enabled())
            ToggleUserChosenEntry(KanaUserChosen[i], i, f.mnuMojihanniWabun_Hani(18).checked());
        f.Label1.setCaption(QString());
    } else if (endsInRestart(f, keyAscii)) {
        restartEntry(f);
    }
    return true;
}
