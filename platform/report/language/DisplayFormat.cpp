#include "report/language/DisplayFormat.h"

#include "base/AsciiCase.h"
#include "report/language/DateTimeMath.h"
#include "report/language/DateTimeText.h"
#include "report/language/LanguageError.h"
#include "report/language/NumberFormat.h"
#include "report/language/NumberText.h"

namespace velkaro::report {

namespace {

using Type = Variant::Type;

bool isNumericZero(const Variant& value) {
    switch (value.type()) {
    case Type::Integer:
        return value.asInteger() == 0;
    case Type::Float:
        return value.asFloat() == 0.0;
    case Type::Currency:
        return value.asCurrency().scaled == 0;
    default:
        return false;
    }
}

// The settings for a numeric display format: the process-wide ones unless the format sets its
// own separators. Only the number fields are filled in (a numeric format formats numbers only),
// so no full copy of the settings is made per value.
const FormatSettings& numberSettingsFor(const DisplayFormat& display, const FormatSettings& base) {
    char decimal = base.decimalSeparator;
    char thousand = base.thousandSeparator;
    if (display.thousandSeparator.size() == 1)
        thousand = display.thousandSeparator[0];
    if (display.decimalSeparator.size() == 1) {
        decimal = display.decimalSeparator[0];
        if (thousand == decimal)
            thousand = decimal == ',' ? '.' : ',';
    }
    if (decimal == base.decimalSeparator && thousand == base.thousandSeparator)
        return base;
    thread_local FormatSettings scratch;
    scratch.decimalSeparator = decimal;
    scratch.thousandSeparator = thousand;
    scratch.currencyString = base.currencyString;
    scratch.currencyFormat = base.currencyFormat;
    scratch.negativeCurrencyFormat = base.negativeCurrencyFormat;
    scratch.currencyDecimals = base.currencyDecimals;
    return scratch;
}

// The value as a number for a numeric format, or nullopt when it is not one.
std::optional<Variant> numericValue(const Variant& value, const FormatSettings& processFormat) {
    switch (value.type()) {
    case Type::Integer:
    case Type::Float:
    case Type::Currency:
        return value;
    case Type::DateTime:
        return Variant(value.asDateTime().serial);
    case Type::String:
        return parseNumberText(value.asString(), processFormat);
    default:
        return std::nullopt;
    }
}

std::optional<double> dateValue(const Variant& value, const FormatSettings& processFormat) {
    double serial = 0;
    switch (value.type()) {
    case Type::DateTime:
        serial = value.asDateTime().serial;
        break;
    case Type::Integer:
    case Type::Float:
    case Type::Currency:
        serial = valueToNumber(value, ValueRules{});
        break;
    case Type::String: {
        const auto parsed = parseDateTimeText(value.asString(), processFormat);
        if (!parsed)
            return std::nullopt;
        serial = *parsed;
        break;
    }
    default:
        return std::nullopt;
    }
    if (!isSerialInRange(serial))
        return std::nullopt;
    return serial;
}

} // namespace

std::optional<DisplayKind> displayKindFromName(std::string_view name) {
    if (equalsIgnoreAsciiCase(name, "fkText"))
        return DisplayKind::Text;
    if (equalsIgnoreAsciiCase(name, "fkNumeric"))
        return DisplayKind::Numeric;
    if (equalsIgnoreAsciiCase(name, "fkDateTime"))
        return DisplayKind::DateTime;
    if (equalsIgnoreAsciiCase(name, "fkBoolean"))
        return DisplayKind::Boolean;
    return std::nullopt;
}

std::string formatDisplayValue(const Variant& value, const DisplayFormat& display, ZeroDisplay zeros,
                               const ValueRules& rules) {
    if (zeros == ZeroDisplay::Hide && isNumericZero(value))
        return std::string();
    const FormatSettings& processFormat = rules.settings();
    if (display.kind == DisplayKind::Text || value.isNull())
        return valueToText(value, processFormat);
    try {
        switch (display.kind) {
        case DisplayKind::Numeric: {
            const auto number = numericValue(value, processFormat);
            if (!number)
                break;
            const FormatSettings& settings = numberSettingsFor(display, processFormat);
            const ValueRules displayRules{rules.options, &settings};
            if (containsFormatSpecifier(display.formatString))
                return formatArguments(display.formatString, std::span<const Variant>(&*number, 1),
                                       displayRules);
            return formatFloat(display.formatString, valueToNumber(*number, displayRules), settings);
        }
        case DisplayKind::DateTime: {
            const auto serial = dateValue(value, processFormat);
            if (!serial)
                break;
            return formatDateTime(display.formatString, *serial, processFormat);
        }
        case DisplayKind::Boolean: {
            const std::string_view pattern = display.formatString.empty()
                                                 ? std::string_view("False,True")
                                                 : std::string_view(display.formatString);
            const size_t comma = pattern.find(',');
            const bool truth = valueToBoolean(value, rules);
            if (comma == std::string_view::npos)
                return truth ? std::string(pattern) : std::string();
            return std::string(truth ? pattern.substr(comma + 1) : pattern.substr(0, comma));
        }
        case DisplayKind::Text:
            break;
        }
    } catch (const EvaluationError&) {
        // A format that does not fit the value: show the value as it is.
    }
    return valueToText(value, processFormat);
}

} // namespace velkaro::report
