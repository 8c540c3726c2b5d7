#pragma once

#include "base/FormatSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace velkaro::report {

// Date and time patterns as Pascal's FormatDateTime reads them: d dd ddd dddd ddddd dddddd,
// m mm mmm mmmm (minutes right after an h), yy yyyy, h hh, n nn, s ss, z zzz, t tt, c,
// am/pm a/p ampm, "/" and ":" as the settings' separators, quoted literals. Month and day names
// come from the settings. Throws EvaluationError for a serial outside the years 1 to 9999. An
// empty pattern is "c".
[[nodiscard]] std::string formatDateTime(std::string_view pattern, double serial,
                                         const FormatSettings& format);

// DateToStr, TimeToStr and DateTimeToStr: the short date format, the long time format, and both
// (the date alone when there is no time, the time alone when there is no date).
[[nodiscard]] std::string dateText(double serial, const FormatSettings& format);
[[nodiscard]] std::string timeText(double serial, const FormatSettings& format);
[[nodiscard]] std::string dateTimeText(double serial, const FormatSettings& format);

// StrToDate, StrToTime, StrToDateTime: numbers in the order of the short date format, separated
// by the date separator (or / - .), a two-digit year within 50 years of this year, a missing
// year this year; ISO 8601 (2024-01-15, 2024-01-15T10:30:00) always. nullopt when it is not one.
[[nodiscard]] std::optional<double> parseDateText(std::string_view text, const FormatSettings& format);
[[nodiscard]] std::optional<double> parseTimeText(std::string_view text, const FormatSettings& format);
[[nodiscard]] std::optional<double> parseDateTimeText(std::string_view text, const FormatSettings& format);

} // namespace velkaro::report
