#pragma once
#include <QChar>
#include <QStringView>

// How free text is read as Morse, character by character: the Latin letters in
// their half- and full-width forms, katakana (half-width too) and hiragana,
// voiced kana as their plain kana and a mark, digits in three forms, marks,
// kanji abbreviations of marks and signs, and bracketed procedure signs. Each
// reading gives a row of MorseCodeTable; 0 means the character sends nothing.

enum class VoicingMark { None, Dakuten, Handakuten };

struct VoicedKanaReading {
    QChar plain; // the half-width plain kana
    VoicingMark mark;
};

// A voiced or half-voiced katakana or hiragana ("ガ", "ぱ") as its half-width
// plain kana and the mark that follows it; mark None for any other character.
VoicedKanaReading ReadVoicedKana(QChar ch);

// The row of a voicing mark ("ﾞ" sounds as I, "ﾟ" as the half-voicing mark).
int VoicingMarkRow(VoicingMark mark);

bool IsLineBreak(QChar ch);  // CR or LF: nothing is sent, no position is used
bool IsWordSpace(QChar ch);  // " " or the ideographic space
bool OpensBracket(QChar ch); // "[" or "「": a 4-character token window

enum class BracketSign { None, Hore, Rata, BT, AR };
// The procedure sign of a token window (the bracket and up to 3 characters after
// it): "[ﾎﾚ]" "「ホレ」" "「ほれ」", "[ﾗﾀ]" "「ラタ」" "「らた」", "[BT]" "[bt]"
// "「ＢＴ」" "「ｂｔ」", "[AR]" "[ar]" "「ＡＲ」" "「ａｒ」"; None for anything else.
BracketSign ReadBracketToken(QStringView window);
// The row that sends a sign (BT as "=", AR as "+"); 0 for None.
int BracketSignRow(BracketSign sign);

// The character lists: the row a character sounds as ("A", "ａ", "ｲ", "い", "一",
// "終" ...); 0 when it is in no list. Parentheses are not in the lists.
int CharacterListRow(QChar ch);

// How an exam recording reads a character that is neither a line break, a space
// nor a bracket: parentheses with the Latin codes ( -.--. and ) -.--.-, or with
// kanaCodes the kana codes ( -.--.- and ) .-..-.; then the character lists, and
// also the full-width "＝", "＋" and "－".
int ExamCharacterRow(QChar ch, bool kanaCodes);
