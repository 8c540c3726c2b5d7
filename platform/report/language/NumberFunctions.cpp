// Arithmetic functions. Round rounds halves to even, as Pascal's Round does.
#include "report/language/FunctionRegistry.h"
#include "report/language/LanguageError.h"
#include "report/language/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace velkaro::report {

namespace {

Variant checkedResult(const FunctionArguments& arguments, double value) {
    if (!std::isfinite(value))
        arguments.fail("el resultado no es un número representable");
    return Variant(value);
}

int64_t toInteger(const FunctionArguments& arguments, double value) {
    if (!std::isfinite(value) || value < -9.2233720368547758e18 || value >= 9.2233720368547758e18)
        arguments.fail("el valor está fuera del rango de los números enteros");
    return static_cast<int64_t>(value);
}

// Rounds to 10^digits on the decimal form of the number (RoundTo(1.235, -2) is 1.24 with halves
// away from zero, 1.24 with halves to even as well: the decimal 1.235 is what the author wrote).
double roundDecimal(double value, int64_t digits, bool halvesToEven) {
    if (!std::isfinite(value) || value == 0)
        return value;
    DecimalDigits number = decimalDigits(value);
    const long keep =
        static_cast<long>(number.exponent) - static_cast<long>(std::clamp<int64_t>(digits, -40, 40));
    if (keep < 0)
        return 0.0;
    if (halvesToEven && keep < static_cast<long>(number.digits.size())) {
        const std::string rest = number.digits.substr(static_cast<size_t>(keep));
        const bool exactHalf = rest == "5";
        const int previous = keep > 0 ? number.digits[static_cast<size_t>(keep - 1)] - '0' : 0;
        if (exactHalf && previous % 2 == 0) {
            number.digits.resize(static_cast<size_t>(keep));
            if (number.digits.empty())
                return 0.0;
        }
    }
    roundToSignificant(number, static_cast<int>(std::max<long>(keep, 0)));
    if (number.isZero())
        return 0.0;
    std::string text = number.negative ? "-0." : "0.";
    text += number.digits;
    text += "e" + std::to_string(number.exponent);
    return std::strtod(text.c_str(), nullptr);
}

Variant absolute(FunctionArguments& a) {
    const Variant& value = a.value(0);
    if (value.type() == Variant::Type::Integer && value.asInteger() != std::numeric_limits<int64_t>::min())
        return Variant(value.asInteger() < 0 ? -value.asInteger() : value.asInteger());
    if (value.type() == Variant::Type::Currency &&
        value.asCurrency().scaled != std::numeric_limits<int64_t>::min())
        return Variant(
            Currency{value.asCurrency().scaled < 0 ? -value.asCurrency().scaled : value.asCurrency().scaled});
    return Variant(std::fabs(a.number(0)));
}

Variant pairExtreme(FunctionArguments& a, bool wantMaximum) {
    const Ordering order = compareValues(a.value(0), a.value(1), a.rules());
    const bool firstWins = wantMaximum ? order != Ordering::Less : order != Ordering::Greater;
    return firstWins ? a.value(0) : a.value(1);
}

} // namespace

void addNumberFunctions(FunctionRegistry& registry) {
    registry.add({"Round", "Round(X: Extended): Int64", 1, 1,
                  [](FunctionArguments& a) { return Variant(a.integer(0)); }});
    registry.add({"Trunc", "Trunc(X: Extended): Int64", 1, 1, [](FunctionArguments& a) {
                      if (a.value(0).type() == Variant::Type::Integer)
                          return a.value(0);
                      return Variant(toInteger(a, std::trunc(a.number(0))));
                  }});
    registry.add({"Int", "Int(X: Extended): Extended", 1, 1,
                  [](FunctionArguments& a) { return Variant(std::trunc(a.number(0))); }});
    registry.add({"Frac", "Frac(X: Extended): Extended", 1, 1, [](FunctionArguments& a) {
                      const double x = a.number(0);
                      return Variant(x - std::trunc(x));
                  }});
    registry.add({"Abs", "Abs(X: Extended): Extended", 1, 1, absolute});
    registry.add({"Sqrt", "Sqrt(X: Extended): Extended", 1, 1, [](FunctionArguments& a) {
                      const double x = a.number(0);
                      if (x < 0)
                          a.fail("raíz cuadrada de un número negativo");
                      return Variant(std::sqrt(x));
                  }});
    registry.add({"Sqr", "Sqr(X: Extended): Extended", 1, 1, [](FunctionArguments& a) {
                      const Variant& x = a.value(0);
                      return applyBinary(BinaryOperator::Multiply, x, x, a.rules());
                  }});
    registry.add({"Power", "Power(Base, Exponent: Extended): Extended", 2, 2,
                  [](FunctionArguments& a) { return checkedResult(a, std::pow(a.number(0), a.number(1))); }});
    registry.add({"Exp", "Exp(X: Extended): Extended", 1, 1,
                  [](FunctionArguments& a) { return checkedResult(a, std::exp(a.number(0))); }});
    registry.add({"Ln", "Ln(X: Extended): Extended", 1, 1, [](FunctionArguments& a) {
                      const double x = a.number(0);
                      if (x <= 0)
                          a.fail("logaritmo de un número que no es positivo");
                      return Variant(std::log(x));
                  }});
    registry.add({"Log10", "Log10(X: Extended): Extended", 1, 1, [](FunctionArguments& a) {
                      const double x = a.number(0);
                      if (x <= 0)
                          a.fail("logaritmo de un número que no es positivo");
                      return Variant(std::log10(x));
                  }});
    registry.add({"Sin", "Sin(X: Extended): Extended", 1, 1,
                  [](FunctionArguments& a) { return checkedResult(a, std::sin(a.number(0))); }});
    registry.add({"Cos", "Cos(X: Extended): Extended", 1, 1,
                  [](FunctionArguments& a) { return checkedResult(a, std::cos(a.number(0))); }});
    registry.add({"Tan", "Tan(X: Extended): Extended", 1, 1,
                  [](FunctionArguments& a) { return checkedResult(a, std::tan(a.number(0))); }});
    registry.add({"ArcTan", "ArcTan(X: Extended): Extended", 1, 1,
                  [](FunctionArguments& a) { return Variant(std::atan(a.number(0))); }});
    registry.add({"Pi", "Pi: Extended", 0, 0, [](FunctionArguments&) { return Variant(std::numbers::pi); }});
    registry.add({"Max", "Max(A, B: Variant): Variant", 2, 2,
                  [](FunctionArguments& a) { return pairExtreme(a, true); }});
    registry.add({"Min", "Min(A, B: Variant): Variant", 2, 2,
                  [](FunctionArguments& a) { return pairExtreme(a, false); }});
    registry.add({"Ceil", "Ceil(X: Extended): Integer", 1, 1,
                  [](FunctionArguments& a) { return Variant(toInteger(a, std::ceil(a.number(0)))); }});
    registry.add({"Floor", "Floor(X: Extended): Integer", 1, 1,
                  [](FunctionArguments& a) { return Variant(toInteger(a, std::floor(a.number(0)))); }});
    registry.add(
        {"RoundTo", "RoundTo(Value: Extended; Digits: Integer): Extended", 2, 2,
         [](FunctionArguments& a) { return Variant(roundDecimal(a.number(0), a.integer(1), true)); }});
    registry.add({"SimpleRoundTo", "SimpleRoundTo(Value: Extended; Digits: Integer = -2): Extended", 1, 2,
                  [](FunctionArguments& a) {
                      return Variant(roundDecimal(a.number(0), a.count() > 1 ? a.integer(1) : -2, false));
                  }});
    registry.add({"Odd", "Odd(X: Integer): Boolean", 1, 1,
                  [](FunctionArguments& a) { return Variant(a.integer(0) % 2 != 0); }});
    registry.add({"Sign", "Sign(X: Extended): Integer", 1, 1, [](FunctionArguments& a) {
                      const double x = a.number(0);
                      return Variant(int64_t(x > 0 ? 1 : (x < 0 ? -1 : 0)));
                  }});
    registry.add({"Inc",
                  "Inc(var X: Integer; N: Integer = 1)",
                  1,
                  2,
                  [](FunctionArguments& a) {
                      const Variant step(a.count() > 1 ? a.integer(1) : int64_t(1));
                      a.reference(0) = applyBinary(BinaryOperator::Add, a.value(0), step, a.rules());
                      return Variant();
                  },
                  {ParameterMode::Reference}});
    registry.add({"Dec",
                  "Dec(var X: Integer; N: Integer = 1)",
                  1,
                  2,
                  [](FunctionArguments& a) {
                      const Variant step(a.count() > 1 ? a.integer(1) : int64_t(1));
                      a.reference(0) = applyBinary(BinaryOperator::Subtract, a.value(0), step, a.rules());
                      return Variant();
                  },
                  {ParameterMode::Reference}});
}

} // namespace velkaro::report
