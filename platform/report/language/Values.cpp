#include "report/language/Values.h"
#include "report/language/ValueSupport.h"

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
using namespace detail;

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

} // namespace

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

} // namespace velkaro::report
