#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Code page 932, the Microsoft variant (0x5C is a backslash, "～" and "①" exist).
// Encoding fails on a character the code page has no form for; decoding fails
// on bytes that are not valid code page 932.
std::optional<QByteArray> encodeCp932(const QString& text);
std::optional<QString> decodeCp932(const QByteArray& bytes);

// The code a key press delivers for a character: ASCII and half-width katakana
// as their byte, a double-byte character as its 16-bit code read as a signed
// value; -1 (matching no table entry) when the code page has no form for it.
int cp932KeyCode(QChar ch);

// A whole text file in code page 932. Fails (platform::Failure) when the file
// cannot be read or is not valid code page 932.
QString readTextFileCp932(const QString& path);

} // namespace platform
