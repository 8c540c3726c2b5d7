#include "report/language/Values.h"

#include "base/AsciiCase.h"
#include "report/language/DateTimeText.h"
#include "report/language/LanguageError.h"
#include "report/language/NumberText.h"
#include "report/language/UnicodeText.h"

#include <cmath>
#include <limits>

namespace velkaro::report {

namespace {

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

Variant divisionByZero(const ValueRules& rules, bool integerResult) {
    if (rules.options.divisionByZero == DivisionByZero::GivesZero)
        return integerResult ? Variant(int64_t(0)) : Variant(0.0);
    throw EvaluationError("División por cero");
}

Variant arithmetic(BinaryOperator op, const Variant& leftValue, const Variant& rightValue,
                   const ValueRules& rules) {
    if (leftValue.isNull() || rightValue.isNull()) {
        if (rules.options.nulls == NullConversion::KeepNull || (leftValue.isNull() && rightValue.isNull()))
            return Variant();
        const Variant& other = leftValue.isNull() ? rightValue : leftValue;
        const Variant empty =
            (other.isString() && op == BinaryOperator::Add) ? Variant(std::string()) : Variant(int64_t(0));
        return leftValue.isNull() ? arithmetic(op, empty, rightValue, rules)
                                  : arithmetic(op, leftValue, empty, rules);
    }
    if (op == BinaryOperator::Add && leftValue.isString() && rightValue.isString())
        return Variant(leftValue.asString() + rightValue.asString());

    const Variant a = numericOperand(leftValue, rules);
    const Variant b = numericOperand(rightValue, rules);
    const Type ta = a.type();
    const Type tb = b.type();

    switch (op) {
    case BinaryOperator::Divide: {
        const double divisor = asDouble(b);
        if (divisor == 0.0)
            return divisionByZero(rules, false);
        return checkedFloat(asDouble(a) / divisor);
    }
    case BinaryOperator::IntegerDivide:
    case BinaryOperator::Modulo:
    case BinaryOperator::ShiftLeft:
    case BinaryOperator::ShiftRight: {
        const int64_t x = valueToInteger(a, rules);
        const int64_t y = valueToInteger(b, rules);
        if (op == BinaryOperator::ShiftLeft)
            return Variant(static_cast<int64_t>(static_cast<uint64_t>(x) << (y & 63)));
        if (op == BinaryOperator::ShiftRight)
            return Variant(static_cast<int64_t>(static_cast<uint64_t>(x) >> (y & 63)));
        if (y == 0)
            return divisionByZero(rules, true);
        if (x == std::numeric_limits<int64_t>::min() && y == -1)
            return op == BinaryOperator::Modulo ? Variant(int64_t(0)) : Variant(-static_cast<double>(x));
        return Variant(op == BinaryOperator::Modulo ? x % y : x / y);
    }
    default:
        break;
    }

    if (ta == Type::DateTime || tb == Type::DateTime) {
        const double x = asDouble(a);
        const double y = asDouble(b);
        if (op == BinaryOperator::Add)
            return Variant(DateTime{checkedFloat(x + y).asFloat()});
        if (op == BinaryOperator::Subtract) {
            const double difference = checkedFloat(x - y).asFloat();
            if (ta == Type::DateTime && tb == Type::DateTime)
                return Variant(difference);
            return ta == Type::DateTime ? Variant(DateTime{difference}) : Variant(difference);
        }
        return checkedFloat(x * y);
    }

    if (ta == Type::Integer && tb == Type::Integer) {
        int64_t result = 0;
        bool overflow = false;
        const int64_t x = a.asInteger();
        const int64_t y = b.asInteger();
        if (op == BinaryOperator::Add)
            overflow = __builtin_add_overflow(x, y, &result);
        else if (op == BinaryOperator::Subtract)
            overflow = __builtin_sub_overflow(x, y, &result);
        else
            overflow = __builtin_mul_overflow(x, y, &result);
        if (!overflow)
            return Variant(result);
        const double dx = static_cast<double>(x);
        const double dy = static_cast<double>(y);
        return checkedFloat(op == BinaryOperator::Add        ? dx + dy
                            : op == BinaryOperator::Subtract ? dx - dy
                                                             : dx * dy);
    }

    if (ta != Type::Float && tb != Type::Float) { // currency with currency or integer
        const auto sx = scaledOf(a);
        const auto sy = scaledOf(b);
        if (sx && sy) {
            int64_t result = 0;
            bool overflow = false;
            if (op == BinaryOperator::Add) {
                overflow = __builtin_add_overflow(*sx, *sy, &result);
            } else if (op == BinaryOperator::Subtract) {
                overflow = __builtin_sub_overflow(*sx, *sy, &result);
            } else if (ta == Type::Integer || tb == Type::Integer) {
                const int64_t factor = ta == Type::Integer ? a.asInteger() : b.asInteger();
                const int64_t scaled = ta == Type::Integer ? b.asCurrency().scaled : a.asCurrency().scaled;
                overflow = __builtin_mul_overflow(scaled, factor, &result);
            } else {
                result = divideRoundingToEven(static_cast<__int128>(*sx) * *sy, Currency::kScale, overflow);
            }
            if (!overflow)
                return Variant(Currency{result});
        }
    }

    const double x = asDouble(a);
    const double y = asDouble(b);
    return checkedFloat(op == BinaryOperator::Add ? x + y : op == BinaryOperator::Subtract ? x - y : x * y);
}

bool isBooleanLike(const Variant& value) {
    return value.type() == Type::Boolean || (value.isString() && booleanWord(value.asString()).has_value());
}

Variant logical(BinaryOperator op, const Variant& a, const Variant& b, const ValueRules& rules) {
    if (a.isNull() || b.isNull()) {
        if (rules.options.nulls == NullConversion::KeepNull || (a.isNull() && b.isNull()))
            return Variant();
        const Variant& other = a.isNull() ? b : a;
        const Variant empty = isBooleanLike(other) ? Variant(false) : Variant(int64_t(0));
        return a.isNull() ? logical(op, empty, b, rules) : logical(op, a, empty, rules);
    }
    const bool booleanA = isBooleanLike(a);
    const bool booleanB = isBooleanLike(b);
    if (booleanA || booleanB) {
        const bool x = valueToBoolean(a, rules);
        const bool y = valueToBoolean(b, rules);
        if (op == BinaryOperator::And)
            return Variant(x && y);
        if (op == BinaryOperator::Or)
            return Variant(x || y);
        return Variant(x != y);
    }
    const int64_t x = valueToInteger(a, rules);
    const int64_t y = valueToInteger(b, rules);
    if (op == BinaryOperator::And)
        return Variant(x & y);
    if (op == BinaryOperator::Or)
        return Variant(x | y);
    return Variant(x ^ y);
}

template <typename T> Ordering orderOf(const T& x, const T& y) {
    if (x < y)
        return Ordering::Less;
    if (y < x)
        return Ordering::Greater;
    return Ordering::Equal;
}

Ordering compareNumbers(const Variant& a, const Variant& b) {
    const Type ta = a.type();
    const Type tb = b.type();
    if (ta == Type::Integer && tb == Type::Integer)
        return orderOf(a.asInteger(), b.asInteger());
    const bool exactA = ta == Type::Integer || ta == Type::Currency;
    const bool exactB = tb == Type::Integer || tb == Type::Currency;
    if (exactA && exactB) {
        const __int128 x = ta == Type::Currency ? __int128(a.asCurrency().scaled)
                                                : __int128(a.asInteger()) * Currency::kScale;
        const __int128 y = tb == Type::Currency ? __int128(b.asCurrency().scaled)
                                                : __int128(b.asInteger()) * Currency::kScale;
        return orderOf(x, y);
    }
    return orderOf(asDouble(a), asDouble(b));
}

bool isNumberKind(Type t) {
    return t == Type::Integer || t == Type::Float || t == Type::Currency || t == Type::DateTime;
}

Ordering compareTexts(const std::string& x, const std::string& y) {
    return orderOf(x, y);
}

Ordering compareStringWith(const std::string& text, const Variant& other, const ValueRules& rules,
                           bool textIsLeft) {
    auto oriented = [textIsLeft](Ordering o) {
        if (textIsLeft || o == Ordering::Equal || o == Ordering::Unordered)
            return o;
        return o == Ordering::Less ? Ordering::Greater : Ordering::Less;
    };
    switch (other.type()) {
    case Type::Boolean:
        if (const auto word = booleanWord(text))
            return oriented(orderOf(*word, other.asBoolean()));
        break;
    case Type::DateTime:
        if (const auto serial = parseDateTimeText(text, rules.settings()))
            return oriented(orderOf(*serial, other.asDateTime().serial));
        [[fallthrough]];
    case Type::Integer:
    case Type::Float:
    case Type::Currency:
        if (const auto number = parseNumberText(text, rules.settings()))
            return oriented(compareNumbers(*number, other));
        break;
    default:
        break;
    }
    return oriented(compareTexts(text, valueToText(other, rules.settings())));
}

Variant emptyLike(const Variant& other) {
    switch (other.type()) {
    case Type::String:
        return Variant(std::string());
    case Type::Boolean:
        return Variant(false);
    case Type::DateTime:
        return Variant(DateTime{0.0});
    default:
        return Variant(int64_t(0));
    }
}

} // namespace

Ordering compareValues(const Variant& a, const Variant& b, const ValueRules& rules) {
    if (a.isNull() || b.isNull()) {
        if (a.isNull() && b.isNull())
            return Ordering::Equal;
        if (rules.options.nulls == NullConversion::KeepNull)
            return Ordering::Unordered;
        return a.isNull() ? compareValues(emptyLike(b), b, rules) : compareValues(a, emptyLike(a), rules);
    }
    const Type ta = a.type();
    const Type tb = b.type();
    if (ta == Type::String && tb == Type::String)
        return compareTexts(a.asString(), b.asString());
    if (ta == Type::String)
        return compareStringWith(a.asString(), b, rules, true);
    if (tb == Type::String)
        return compareStringWith(b.asString(), a, rules, false);
    if (ta == Type::Boolean || tb == Type::Boolean) {
        const bool x = ta == Type::Boolean ? a.asBoolean() : asDouble(a) != 0.0;
        const bool y = tb == Type::Boolean ? b.asBoolean() : asDouble(b) != 0.0;
        return orderOf(x, y);
    }
    if (isNumberKind(ta) && isNumberKind(tb))
        return compareNumbers(a, b);
    return Ordering::Unordered;
}

Variant applyBinary(BinaryOperator op, const Variant& left, const Variant& right, const ValueRules& rules) {
    switch (op) {
    case BinaryOperator::Add:
    case BinaryOperator::Subtract:
    case BinaryOperator::Multiply:
    case BinaryOperator::Divide:
    case BinaryOperator::IntegerDivide:
    case BinaryOperator::Modulo:
    case BinaryOperator::ShiftLeft:
    case BinaryOperator::ShiftRight:
        return arithmetic(op, left, right, rules);
    case BinaryOperator::And:
    case BinaryOperator::Or:
    case BinaryOperator::Xor:
        return logical(op, left, right, rules);
    case BinaryOperator::Equal:
        return Variant(compareValues(left, right, rules) == Ordering::Equal);
    case BinaryOperator::NotEqual:
        return Variant(compareValues(left, right, rules) != Ordering::Equal);
    case BinaryOperator::Less:
        return Variant(compareValues(left, right, rules) == Ordering::Less);
    case BinaryOperator::Greater:
        return Variant(compareValues(left, right, rules) == Ordering::Greater);
    case BinaryOperator::LessOrEqual: {
        const Ordering o = compareValues(left, right, rules);
        return Variant(o == Ordering::Less || o == Ordering::Equal);
    }
    case BinaryOperator::GreaterOrEqual: {
        const Ordering o = compareValues(left, right, rules);
        return Variant(o == Ordering::Greater || o == Ordering::Equal);
    }
    }
    return Variant();
}

Variant negateValue(const Variant& value, const ValueRules& rules) {
    if (value.isNull())
        return rules.options.nulls == NullConversion::KeepNull ? Variant() : Variant(int64_t(0));
    const Variant number = numericOperand(value, rules);
    switch (number.type()) {
    case Type::Integer:
        if (number.asInteger() == std::numeric_limits<int64_t>::min())
            return Variant(-static_cast<double>(number.asInteger()));
        return Variant(-number.asInteger());
    case Type::Currency:
        if (number.asCurrency().scaled == std::numeric_limits<int64_t>::min())
            return Variant(-currencyToDouble(number.asCurrency()));
        return Variant(Currency{-number.asCurrency().scaled});
    case Type::DateTime:
        return Variant(DateTime{-number.asDateTime().serial});
    default:
        return Variant(-number.asFloat());
    }
}

Variant notValue(const Variant& value, const ValueRules& rules) {
    if (value.isNull())
        return rules.options.nulls == NullConversion::KeepNull ? Variant() : Variant(true);
    if (isBooleanLike(value))
        return Variant(!valueToBoolean(value, rules));
    return Variant(~valueToInteger(value, rules));
}

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
