#pragma once

#include "base/FormatSettings.h"
#include "report/language/Values.h"
#include "report/model/Variant.h"

#include <span>
#include <string>
#include <string_view>

namespace velkaro::report {

enum class ThousandsGrouping { None, Grouped };

// FormatFloat: up to three sections "positive;negative;zero" of 0 # . , E+ E- e+ e- and literal
// text (quoted or plain). Separators come from the settings. An empty pattern gives the general
// text of the number.
[[nodiscard]] std::string formatFloat(std::string_view pattern, double value, const FormatSettings& format);

// The number rounded half away from zero to `decimals` places, all of them written.
[[nodiscard]] std::string fixedNumberText(double value, int decimals, ThousandsGrouping grouping,
                                          const FormatSettings& format);
// A money amount with the settings' currency string, positions and negative form.
[[nodiscard]] std::string currencyAmountText(double value, int decimals, const FormatSettings& format);

// Format: "%" [index ":"] ["-"] [width] ["." precision] type, with the types d u x e f g n m s
// and "%%". Width and precision may be "*" (taken from the arguments); a "," instead of "." before
// the precision is read as the point (templates written where the comma is the decimal mark).
// d, u and x round a fractional number to an integer (halves to even). Throws EvaluationError for
// a bad pattern, missing arguments or an argument that is not a number where one is needed.
[[nodiscard]] std::string formatArguments(std::string_view pattern, std::span<const Variant> arguments,
                                          const ValueRules& rules);

// True when the pattern holds a Format specifier (a display format of that style rather
// than a FormatFloat pattern).
[[nodiscard]] bool containsFormatSpecifier(std::string_view pattern);

} // namespace velkaro::report
