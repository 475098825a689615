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
// What a digits-only box lets through: digits, Backspace (8) and the codes of Ctrl with a
// letter (Ctrl+C 3, Ctrl+V 22, Ctrl+X 24, Ctrl+Z 26) and Ctrl+Backspace (127), so that
// copy, cut, paste, undo and deleting a word keep working; Enter (13, which Ctrl+M
// shares) and every other key are swallowed.
constexpr bool passesDigitFilter(int keyAscii)
{
    return (keyAscii >= '0' && keyAscii <= '9') || (keyAscii >= 1 && keyAscii <= 26 && keyAscii != 13)
        || keyAscii == 127;
}

} // namespace forms
