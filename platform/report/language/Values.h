#pragma once

#include "base/FormatSettings.h"
#include "report/model/Variant.h"

#include <cstdint>
#include <string>

namespace velkaro::report {

// EngineOptions.ConvertNulls: on (the default), a Null meeting another value acts as that
// value's empty form (0, '', False); off, arithmetic with Null gives Null and Null equals only
// Null.
enum class NullConversion { ToEmptyValue, KeepNull };

// EngineOptions.IgnoreDevByZero: off (the default), dividing by zero is an evaluation error; on,
// the result is 0.
enum class DivisionByZero { Error, GivesZero };

struct EvaluationOptions {
    NullConversion nulls = NullConversion::ToEmptyValue;
    DivisionByZero divisionByZero = DivisionByZero::Error;
};

// What every conversion consults: the engine options and the number/date format.
struct ValueRules {
    EvaluationOptions options;
    const FormatSettings* format = &FormatSettings::process();

    [[nodiscard]] const FormatSettings& settings() const { return *format; }
};

enum class BinaryOperator {
    Add,
    Subtract,
    Multiply,
    Divide,
    IntegerDivide,
    Modulo,
    ShiftLeft,
    ShiftRight,
    And,
    Or,
    Xor,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessOrEqual,
    GreaterOrEqual,
};

// The operators with the conversions of Pascal variants:
// - string + string concatenates; a string meeting a number in arithmetic is read as a number,
//   and a string that is not one is an EvaluationError naming it;
// - integers stay integers until they overflow (then float); currency keeps four decimals;
//   "/" always gives a float; div and mod take integers (floats rounded to even);
// - date-time + number is a date-time, date-time - date-time a number of days;
// - and/or/xor are logical on booleans and bitwise on integers;
// - comparisons work across number kinds and dates; a string compared with a number that it
//   cannot be read as is compared as text (comparisons never fail).
// Throws EvaluationError (conversion, division by zero, numeric overflow).
[[nodiscard]] Variant applyBinary(BinaryOperator op, const Variant& left, const Variant& right,
                                  const ValueRules& rules);
[[nodiscard]] Variant negateValue(const Variant& value, const ValueRules& rules);
[[nodiscard]] Variant notValue(const Variant& value, const ValueRules& rules);

enum class Ordering { Less, Equal, Greater, Unordered };
[[nodiscard]] Ordering compareValues(const Variant& left, const Variant& right, const ValueRules& rules);

// VarToStr: '' for Null, True/False, numbers in general notation, dates with the short date and
// long time formats.
[[nodiscard]] std::string valueToText(const Variant& value, const FormatSettings& format);

// Conversions for function parameters; EvaluationError when the value does not convert. A Null
// converts to the empty value when ConvertNulls is on and is an error otherwise. Booleans count
// -1 (True) and 0 in arithmetic, as Pascal variants do.
[[nodiscard]] double valueToNumber(const Variant& value, const ValueRules& rules);
// Rounds a fraction to the nearest integer, halves to even.
[[nodiscard]] int64_t valueToInteger(const Variant& value, const ValueRules& rules);
// Numbers are true when not zero; the texts True and False (any case) and numeric texts convert.
// A Null is False.
[[nodiscard]] bool valueToBoolean(const Variant& value, const ValueRules& rules);
// A day serial; texts are read as dates/times of the settings or ISO 8601.
[[nodiscard]] double valueToDateTime(const Variant& value, const ValueRules& rules);

// A short Spanish description of a value for error messages: the text in quotes, or the type.
[[nodiscard]] std::string describeValue(const Variant& value, const FormatSettings& format);

} // namespace velkaro::report
