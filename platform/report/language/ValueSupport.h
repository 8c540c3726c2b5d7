#pragma once

#include "report/language/Values.h"

#include <optional>
#include <string_view>

// Pieces shared by the operator, comparison and conversion files.
namespace velkaro::report::detail {

[[noreturn]] void failConversion(const Variant& value, std::string_view target, const FormatSettings& format);
[[noreturn]] void failOverflow();
Variant checkedFloat(double value);
// True/False in any case, blanks around allowed.
std::optional<bool> booleanWord(std::string_view text);
// Boolean or a text that reads as one.
bool isBooleanLike(const Variant& value);
// The value as a number kind (Integer, Float, Currency or DateTime) for arithmetic.
Variant numericOperand(const Variant& value, const ValueRules& rules);
// A number kind as a double (0 for anything else).
double asDouble(const Variant& number);
std::optional<int64_t> roundedToInteger(double value);
std::optional<int64_t> scaledOf(const Variant& number);
// Rounds a 128-bit quotient half to even; `overflow` when it leaves the int64 range.
int64_t divideRoundingToEven(__int128 numerator, int64_t denominator, bool& overflow);

} // namespace velkaro::report::detail
