#include "platform/numbers.h"

#include "platform/failure.h"

#include <QRegularExpression>
#include <cmath>

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

std::int16_t toInt16(double value)
{
    if (!std::isfinite(value))
        throw Failure(QStringLiteral("overflow: not a finite number"));
    double r = std::nearbyint(value);
    if (r < INT16_MIN || r > INT16_MAX)
        throw Failure(QStringLiteral("overflow: %1 outside the 16-bit range").arg(value));
    return static_cast<std::int16_t>(r);
}

std::int32_t toInt32(double value)
{
    if (!std::isfinite(value))
        throw Failure(QStringLiteral("overflow: not a finite number"));
    double r = std::nearbyint(value);
    if (r < INT32_MIN || r > INT32_MAX)
        throw Failure(QStringLiteral("overflow: %1 outside the 32-bit range").arg(value));
    return static_cast<std::int32_t>(r);
}

std::int16_t textToInt16(const QString& text) { return toInt16(textToDouble(text)); }

QString numberText(std::int64_t value) { return QString::number(value); }

} // namespace platform
