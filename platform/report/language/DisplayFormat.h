#pragma once

#include "report/language/Values.h"
#include "report/model/Variant.h"

#include <optional>
#include <string>
#include <string_view>

namespace velkaro::report {

// DisplayFormat.Kind of a text object.
enum class DisplayKind { Text, Numeric, DateTime, Boolean };

// How a value becomes text in a text object (its DisplayFormat, an item of its <Formats>, or an
// inline suffix "#n%2.2f").
struct DisplayFormat {
    DisplayKind kind = DisplayKind::Text;
    // Numeric: a Format pattern ("%2.2n", "%g") or a FormatFloat pattern (",0.00##", "#,##0.00;(#,##0.00)");
    // DateTime: a date pattern ("dd/mm/yyyy hh:nn:ss"); Boolean: "text for False,text for True".
    std::string formatString;
    // DisplayFormat.DecimalSeparator / ThousandSeparator; empty: the process-wide settings'.
    std::string decimalSeparator;
    std::string thousandSeparator;
};

// "fkText", "fkNumeric", "fkDateTime", "fkBoolean" (without regard to case); nullopt otherwise.
[[nodiscard]] std::optional<DisplayKind> displayKindFromName(std::string_view name);

// HideZeros.
enum class ZeroDisplay { Show, Hide };

// The text of a value under a display format. A value the format does not apply to (text under
// a numeric format, an invalid pattern) is shown unformatted, so nothing is lost. When the
// decimal separator is set to the thousands separator's character, thousands are separated with
// the other of "." and "," (a decimal comma gets 1.234,50, never 1,234,50).
[[nodiscard]] std::string formatDisplayValue(const Variant& value, const DisplayFormat& format,
                                             ZeroDisplay zeros, const ValueRules& rules);

} // namespace velkaro::report
