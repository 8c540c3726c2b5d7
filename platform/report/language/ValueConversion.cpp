#include "report/language/ValueSupport.h"
#include "report/language/Values.h"

#include "base/AsciiCase.h"
#include "report/language/DateTimeText.h"
#include "report/language/LanguageError.h"
#include "report/language/NumberText.h"
#include "report/language/UnicodeText.h"

#include <cmath>
#include <limits>

namespace velkaro::report {

namespace detail {

using Type = Variant::Type;

[[noreturn]] void failConversion(const Variant& value, std::string_view target,
                                 const FormatSettings& format) {
    throw EvaluationError("No se puede convertir " + describeValue(value, format) + " a " +
                          std::string(target));
}

[[noreturn]] void failOverflow() {
    throw EvaluationError("Desbordamiento numérico");
}

Variant checkedFloat(double value) {
    if (!std::isfinite(value))
        failOverflow();
    return Variant(value);
}

std::optional<bool> booleanWord(std::string_view text) {
    const std::string_view t = trimControls(text);
    if (equalsIgnoreAsciiCase(t, "true"))
        return true;
    if (equalsIgnoreAsciiCase(t, "false"))
        return false;
    return std::nullopt;
}

// The value as a number kind (Integer, Float, Currency or DateTime) for arithmetic.
Variant numericOperand(const Variant& value, const ValueRules& rules) {
    switch (value.type()) {
    case Type::Integer:
    case Type::Float:
    case Type::Currency:
    case Type::DateTime:
        return value;
    case Type::Boolean:
        return Variant(int64_t(value.asBoolean() ? -1 : 0));
    case Type::Null:
        if (rules.options.nulls == NullConversion::ToEmptyValue)
            return Variant(int64_t(0));
        failConversion(value, "número", rules.settings());
    case Type::String:
        if (auto number = parseNumberText(value.asString(), rules.settings()))
            return *number;
        failConversion(value, "número", rules.settings());
    }
    failConversion(value, "número", rules.settings());
}

double asDouble(const Variant& number) {
    switch (number.type()) {
    case Type::Integer:
        return static_cast<double>(number.asInteger());
    case Type::Float:
        return number.asFloat();
    case Type::Currency:
        return currencyToDouble(number.asCurrency());
    case Type::DateTime:
        return number.asDateTime().serial;
    default:
        return 0.0;
    }
}

std::optional<int64_t> roundedToInteger(double value) {
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < -9.2233720368547758e18 || rounded >= 9.2233720368547758e18)
        return std::nullopt;
    return static_cast<int64_t>(rounded);
}

// Currency scaled value of Integer or Currency operand.
std::optional<int64_t> scaledOf(const Variant& number) {
    if (number.type() == Type::Currency)
        return number.asCurrency().scaled;
    int64_t scaled = 0;
    if (__builtin_mul_overflow(number.asInteger(), Currency::kScale, &scaled))
        return std::nullopt;
    return scaled;
}

// Rounds a 128-bit quotient half to even.
int64_t divideRoundingToEven(__int128 numerator, int64_t denominator, bool& overflow) {
    __int128 quotient = numerator / denominator;
    const __int128 remainder = numerator % denominator;
    const __int128 twice = remainder < 0 ? -remainder * 2 : remainder * 2;
    if (twice > denominator || (twice == denominator && (quotient % 2 != 0)))
        quotient += (numerator < 0) ? -1 : 1;
    overflow =
        quotient > std::numeric_limits<int64_t>::max() || quotient < std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(quotient);
}

bool isBooleanLike(const Variant& value) {
    return value.type() == Type::Boolean || (value.isString() && booleanWord(value.asString()).has_value());
}

} // namespace detail

using Type = Variant::Type;
using namespace detail;

std::string valueToText(const Variant& value, const FormatSettings& format) {
    switch (value.type()) {
    case Type::Null:
        return std::string();
    case Type::Boolean:
        return value.asBoolean() ? "True" : "False";
    case Type::Integer:
        return std::to_string(value.asInteger());
    case Type::Float:
        return generalNumberText(value.asFloat(), format);
    case Type::Currency:
        return currencyText(value.asCurrency(), format);
    case Type::DateTime:
        return dateTimeText(value.asDateTime().serial, format);
    case Type::String:
        return value.asString();
    }
    return std::string();
}

double valueToNumber(const Variant& value, const ValueRules& rules) {
    return asDouble(numericOperand(value, rules));
}

int64_t valueToInteger(const Variant& value, const ValueRules& rules) {
    switch (value.type()) {
    case Type::Integer:
        return value.asInteger();
    case Type::Boolean:
        return value.asBoolean() ? -1 : 0;
    case Type::Currency: {
        bool overflow = false;
        return divideRoundingToEven(value.asCurrency().scaled, Currency::kScale, overflow);
    }
    case Type::String:
        if (const auto integer = parseIntegerText(value.asString()))
            return *integer;
        if (const auto real = parseFloatText(value.asString(), rules.settings())) {
            if (const auto rounded = roundedToInteger(*real))
                return *rounded;
        }
        failConversion(value, "un número entero", rules.settings());
    case Type::Null:
        if (rules.options.nulls == NullConversion::ToEmptyValue)
            return 0;
        failConversion(value, "un número entero", rules.settings());
    case Type::Float:
    case Type::DateTime:
        if (const auto rounded = roundedToInteger(asDouble(value)))
            return *rounded;
        throw EvaluationError("El valor " + valueToText(value, rules.settings()) +
                              " está fuera del rango de los números enteros");
    }
    return 0;
}

bool valueToBoolean(const Variant& value, const ValueRules& rules) {
    switch (value.type()) {
    case Type::Null:
        return false;
    case Type::Boolean:
        return value.asBoolean();
    case Type::Integer:
        return value.asInteger() != 0;
    case Type::Float:
        return value.asFloat() != 0.0;
    case Type::Currency:
        return value.asCurrency().scaled != 0;
    case Type::DateTime:
        return value.asDateTime().serial != 0.0;
    case Type::String:
        if (const auto word = booleanWord(value.asString()))
            return *word;
        if (const auto number = parseNumberText(value.asString(), rules.settings()))
            return asDouble(*number) != 0.0;
        failConversion(value, "un valor lógico", rules.settings());
    }
    return false;
}

double valueToDateTime(const Variant& value, const ValueRules& rules) {
    if (value.isString()) {
        if (const auto serial = parseDateTimeText(value.asString(), rules.settings()))
            return *serial;
        if (const auto number = parseFloatText(value.asString(), rules.settings()))
            return *number;
        failConversion(value, "una fecha", rules.settings());
    }
    if (value.isNull() && rules.options.nulls == NullConversion::KeepNull)
        failConversion(value, "una fecha", rules.settings());
    return valueToNumber(value, rules);
}

std::string describeValue(const Variant& value, const FormatSettings& format) {
    switch (value.type()) {
    case Type::Null:
        return "Null";
    case Type::String: {
        const std::string& text = value.asString();
        constexpr size_t kShown = 40;
        if (characterCount(text) > kShown)
            return "el texto '" + std::string(characterRange(text, 0, kShown)) + "...'";
        return "el texto '" + text + "'";
    }
    default:
        return "el valor " + valueToText(value, format);
    }
}

} // namespace velkaro::report
