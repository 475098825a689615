#pragma once
#include <QChar>
#include <QString>

// The rules by which free text (pseudo-text words, exam texts, the options
// dialog's sample) is read as Morse: which code row a character sends, how a
// voiced kana splits into its plain kana and a mark, and the bracketed
// procedure signs. The Beep text player and the exam compiler share them.

// A voiced or half-voiced kana (katakana or hiragana, ガ..ポ; not ヴ): its plain
// kana in half-width form and the mark read after it ("ﾞ" or "ﾟ"). False for
// any other character.
bool SplitVoicedKana(QChar ch, QChar& plain, QChar& mark);

// The code row (1..72) of a character of the character lists; 0 for a
// character none of them names (line breaks, spaces, brackets and
// parentheses have rules of their own).
int TextListRow(QChar ch);

// The procedure sign of a bracket window ("[BT]", "「ホレ」", ...): its code row,
// 0 when the window is no token. wordGap is set for the BT tokens, which the
// Beep road ends with a word gap.
int BracketTokenRow(const QString& window, bool* wordGap = nullptr);

// "(" "（" ")" "）": the code row they send with the Latin codes ("(" -.--.,
// ")" -.--.-) or with the kana ones ("(" -.--.-, ")" .-..-.); 0 for any other
// character.
int ParenthesisRow(QChar ch, bool kanaCodes);

// True for the characters that open a bracket window.
inline bool OpensBracket(QChar ch) { return ch == u'[' || ch == u'「'; }
