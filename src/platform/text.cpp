#include "platform/text.h"

#include "platform/failure.h"
#include "platform/files.h"

#include <cerrno>
#include <iconv.h>

namespace platform {

namespace {
// One conversion through glibc iconv; nullopt on any invalid or unmappable input.
std::optional<QByteArray> convert(const char* to, const char* from, const QByteArray& in)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray out(in.size() * 4 + 16, Qt::Uninitialized);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char* dst = out.data();
    size_t dstLeft = static_cast<size_t>(out.size());
    size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    bool ok = rc != static_cast<size_t>(-1) && srcLeft == 0;
    if (ok)
        ok = iconv(cd, nullptr, nullptr, &dst, &dstLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    out.truncate(static_cast<int>(dst - out.data()));
    return out;
}
} // namespace

std::optional<QByteArray> encodeCp932(const QString& text)
{
    return convert("CP932", "UTF-8", text.toUtf8());
}

std::optional<QString> decodeCp932(const QByteArray& bytes)
{
    auto utf8 = convert("UTF-8", "CP932", bytes);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

int cp932KeyCode(QChar ch)
{
    auto bytes = encodeCp932(QString(ch));
    if (!bytes || bytes->isEmpty())
        return -1;
    auto b = [&](int i) { return static_cast<unsigned char>(bytes->at(i)); };
    if (bytes->size() == 1)
        return b(0);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((b(0) << 8) | b(1)));
}

QString readTextFileCp932(const QString& path)
{
    auto text = decodeCp932(readWholeFile(path));
    if (!text)
        throw Failure(QStringLiteral("%1 is not a code page 932 text").arg(path));
    return *text;
}

} // namespace platform
