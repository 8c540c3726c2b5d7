#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velkaro::report {

// Property values are stored as the text the template holds. These read and write that text the
// way the template format spells it.

// A number with "." or "," as decimal separator ("3,77953", "41335.75", "-1,5E-3"), blanks around
// allowed. No thousands separators. nullopt for anything else, and for infinities and NaN.
[[nodiscard]] std::optional<double> parseNumber(std::string_view text);

// A decimal integer, or hexadecimal after "$" ("$1FFFFFFF"); nullopt when out of the 64-bit range.
[[nodiscard]] std::optional<int64_t> parseInteger(std::string_view text);

// "True" or "False", letter case ignored.
[[nodiscard]] std::optional<bool> parseBoolean(std::string_view text);

// A colour: a TColor integer (0x00BBGGRR, system colours negative) or a colour constant name
// such as "clWhite" or "clNone" (letter case ignored).
[[nodiscard]] std::optional<int32_t> parseColor(std::string_view text);

// The shortest text that reads back as the same double, "." as decimal separator.
[[nodiscard]] std::string formatNumber(double value);
[[nodiscard]] std::string formatBoolean(bool value);

} // namespace velkaro::report
