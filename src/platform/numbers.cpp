#include "platform/numbers.h"

#include "platform/failure.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace platform {

namespace {
const QRegularExpression& numberPattern()
{
    static const QRegularExpression re(
        QStringLiteral("^[ \\t]*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?[ \\t]*$"));
    return re;
}
} // namespace

bool isNumericText(const QString& text) { return numberPattern().match(text).hasMatch(); }

double textToDouble(const QString& text)
{
    if (!isNumericText(text))
        throw Failure(QStringLiteral("type mismatch: \"%1\" is not a number").arg(text));
    bool ok = false;
    double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw Failure(QStringLiteral("overflow: \"%1\"").arg(text));
    return value;
}

namespace {
// Halves to even (the default rounding mode), then the range of Int.
template <class Int>
Int roundedTo(double value)
{
    if (!std::isfinite(value))
        throw Failure(QStringLiteral("overflow: not a finite number"));
    double r = std::nearbyint(value);
    if (r < std::numeric_limits<Int>::min() || r > std::numeric_limits<Int>::max())
        throw Failure(QStringLiteral("overflow: %1 outside the %2-bit range").arg(value).arg(sizeof(Int) * 8));
    return static_cast<Int>(r);
}
} // namespace

std::int16_t toInt16(double value) { return roundedTo<std::int16_t>(value); }

std::int32_t toInt32(double value) { return roundedTo<std::int32_t>(value); }

std::int16_t textToInt16(const QString& text) { return toInt16(textToDouble(text)); }

QString numberText(std::int64_t value) { return QString::number(value); }

} // namespace platform
