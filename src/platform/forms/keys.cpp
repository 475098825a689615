#include "platform/forms/keys.h"

#include "platform/text.h"

namespace forms {

int keyAsciiOf(const QString& character)
{
    if (character.isEmpty())
        return 0;
    if (character.size() > 1 || character.at(0).isSurrogate())
        return noCodePageCode;
    return platform::cp932KeyCode(character.at(0));
}

QString characterOf(int keyAscii)
{
    if (keyAscii == 0 || keyAscii == noCodePageCode)
        return QString();
    if (keyAscii > 0 && keyAscii < 128)
        return QString(QChar(keyAscii));
    QByteArray bytes;
    if (keyAscii > 0 && keyAscii < 256) {
        bytes.append(static_cast<char>(keyAscii));
    } else {
        unsigned code = static_cast<unsigned>(keyAscii) & 0xFFFFu;
        bytes.append(static_cast<char>(code >> 8));
        bytes.append(static_cast<char>(code & 0xFF));
    }
    return platform::decodeCp932(bytes).value_or(QString());
}

} // namespace forms
