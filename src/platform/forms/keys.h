#pragma once
#include <QString>

namespace forms {

// KeyAscii of a character as the original delivers it: ASCII as is; anything else as
// its code page 932 code (a single byte 161..223, or a double-byte code as a signed
// 16-bit value). A character with no code page 932 form gives noCodePageCode, which
// matches no character (-1: no table holds it; never 63, "?").
constexpr int noCodePageCode = -1;
int keyAsciiOf(const QString& character);
// The character of a KeyAscii (empty for 0, noCodePageCode or an invalid code).
QString characterOf(int keyAscii);
// The codes of Ctrl with a letter (Ctrl+A 1 .. Ctrl+Z 26: Ctrl+C 3, Ctrl+V 22, Ctrl+X 24),
// which Backspace (8), Tab (9) and Enter (13) share.
constexpr bool isCtrlLetterCode(int keyAscii) { return keyAscii >= 1 && keyAscii <= 26; }

} // namespace forms
