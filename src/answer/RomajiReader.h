#pragma once
#include <QString>
#include <array>

class FrmMain;

// Kana typed as romaji: each accepted key appends a text to the entry, and a whole
// entry that equals a token stands for one kana text.

// The digit keys append kanji numerals for the code check and the ASCII digit for
// answering and registration; the digit tokens follow the same choice.
enum class RomajiDigits { Kanji, Ascii };

struct RomajiKey {
    int keyAscii; // capital letters only: small letters are looked up as capitals
    const char16_t* text;
};
struct RomajiToken {
    const char16_t* token;
    const char16_t* kana;
};
extern const std::array<RomajiKey, 40> RomajiKeyTable;
extern const std::array<RomajiToken, 95> RomajiTokenTable;

// The text a key appends, "" for a key that is not accepted.
QString RomajiKeyText(int keyAscii, RomajiDigits digits);
// The kana text of an entry that equals a token, "" for no token.
QString RomajiTokenText(const QString& entry, RomajiDigits digits);

// The three kana readers of the keyboard handler, tried in this order. Each returns
// false when its condition does not hold, so that the key goes on to the next one.
bool RomajiCodeCheckKey(FrmMain& f, int keyAscii);
bool RomajiAnswerKey(FrmMain& f, int keyAscii);
bool RomajiRegistrationKey(FrmMain& f, int keyAscii);
