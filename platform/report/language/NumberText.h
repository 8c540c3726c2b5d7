#pragma once

#include "base/FormatSettings.h"
#include "report/model/Variant.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velkaro::report {

// A finite double as decimal digits: value = 0.d1d2d3... * 10^exponent, without trailing zeros.
// Zero has no digits. Numbers are taken with 15 significant digits, the precision that a
// double holds, so binary noise (0.1 + 0.2) never shows and 1.005 rounds like the decimal 1.005.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
    bool negative = false;

    [[nodiscard]] bool isZero() const { return digits.empty(); }
};

[[nodiscard]] DecimalDigits decimalDigits(double value, int significantDigits = 15);
// Rounds half away from zero so that at most `decimals` digits follow the decimal point
// (negative: to tens, hundreds...).
void roundToDecimals(DecimalDigits& number, int decimals);
// Rounds half away from zero to at most `significant` digits.
void roundToSignificant(DecimalDigits& number, int significant);

// The general text of a number: fixed notation while the integer part has at most `precision`
// digits and the value is at least 0.00001, otherwise scientific ("1E20", "1.5E-7").
[[nodiscard]] std::string generalNumberText(double value, const FormatSettings& format, int precision = 15);
// Text of a money value: up to four decimals, trailing zeros dropped.
[[nodiscard]] std::string currencyText(Currency value, const FormatSettings& format);

// Digits with a thousands separator between each group of three.
[[nodiscard]] std::string groupThousands(std::string_view integerDigits, std::string_view separator);

// Reads a number written with the settings' decimal separator: optional blanks, a sign, digits
// with an optional fraction, an optional exponent, optional blanks. No thousands separators.
[[nodiscard]] std::optional<double> parseFloatText(std::string_view text, const FormatSettings& format);
// Reads an integer: optional blanks, a sign, decimal digits or $hex / 0x hex, optional blanks.
[[nodiscard]] std::optional<int64_t> parseIntegerText(std::string_view text);
// Integer when the text is an integer in range, else a float, else nullopt.
[[nodiscard]] std::optional<Variant> parseNumberText(std::string_view text, const FormatSettings& format);

[[nodiscard]] double currencyToDouble(Currency value);
// nullopt outside the range of Currency.
[[nodiscard]] std::optional<Currency> currencyFromDouble(double value);

} // namespace velkaro::report
