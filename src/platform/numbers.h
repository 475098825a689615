#pragma once
#include <QString>
#include <cstdint>

namespace platform {

// Conversions with the original's rules: halves round to even, values outside
// the target range and text that is not a number fail with platform::Failure,
// and no NaN or infinity ever reaches an integer conversion.

// Text to 16-bit integer: trims blanks, accepts a sign, a decimal fraction and an
// exponent. Fails on empty or non-numeric text and outside -32768..32767.
std::int16_t textToInt16(const QString& text);
// Text to double with the same syntax; fails on empty or non-numeric text.
double textToDouble(const QString& text);
// True when textToDouble would succeed.
bool isNumericText(const QString& text);

std::int16_t toInt16(double value);
std::int32_t toInt32(double value);

// Decimal text without a leading blank.
QString numberText(std::int64_t value);

// 16-bit counters saturate instead of overflowing.
inline void saturatingIncrement(std::int16_t& counter)
{
    if (counter < INT16_MAX)
        ++counter;
}

} // namespace platform
