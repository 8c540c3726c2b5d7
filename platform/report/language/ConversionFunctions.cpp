// Conversions between texts, numbers, dates and booleans, with the process-wide format.
#include "base/AsciiCase.h"
#include "report/language/DateTimeMath.h"
#include "report/language/DateTimeText.h"
#include "report/language/FunctionRegistry.h"
#include "report/language/LanguageError.h"
#include "report/language/NumberText.h"

namespace velkaro::report {

namespace {

double validSerial(const FunctionArguments& a, size_t index) {
    const double serial = a.dateTime(index);
    if (!isSerialInRange(serial))
        a.fail("la fecha está fuera del rango admitido (años 1 a 9999)");
    return serial;
}

std::optional<double> floatOf(const FunctionArguments& a, size_t index) {
    const Variant& value = a.value(index);
    if (value.isNumeric())
        return valueToNumber(value, a.rules());
    return parseFloatText(a.text(index), a.format());
}

std::optional<int64_t> integerOf(const FunctionArguments& a, size_t index) {
    const Variant& value = a.value(index);
    if (value.type() == Variant::Type::Integer)
        return value.asInteger();
    return parseIntegerText(a.text(index));
}

std::optional<bool> booleanOf(std::string_view text) {
    const std::string_view t = trimControls(text);
    if (equalsIgnoreAsciiCase(t, "true") || t == "-1" || t == "1")
        return true;
    if (equalsIgnoreAsciiCase(t, "false") || t == "0")
        return false;
    return std::nullopt;
}

std::optional<double> dateOf(const FunctionArguments& a, size_t index,
                             std::optional<double> (*parse)(std::string_view, const FormatSettings&)) {
    const Variant& value = a.value(index);
    if (value.type() == Variant::Type::DateTime)
        return value.asDateTime().serial;
    return parse(a.text(index), a.format());
}

} // namespace

void addConversionFunctions(FunctionRegistry& registry) {
    registry.add({"IntToStr", "IntToStr(Value: Integer): String", 1, 1,
                  [](FunctionArguments& a) { return Variant(std::to_string(a.integer(0))); }});
    registry.add({"FloatToStr", "FloatToStr(Value: Extended): String", 1, 1,
                  [](FunctionArguments& a) { return Variant(generalNumberText(a.number(0), a.format())); }});
    registry.add({"CurrToStr", "CurrToStr(Value: Currency): String", 1, 1, [](FunctionArguments& a) {
                      const auto money = currencyFromDouble(a.number(0));
                      if (!money)
                          a.fail("el valor está fuera del rango de la moneda");
                      return Variant(currencyText(*money, a.format()));
                  }});
    registry.add({"StrToInt", "StrToInt(S: String): Integer", 1, 1, [](FunctionArguments& a) {
                      const auto value = integerOf(a, 0);
                      if (!value)
                          a.fail("'" + a.text(0) + "' no es un valor entero válido");
                      return Variant(*value);
                  }});
    registry.add(
        {"StrToIntDef", "StrToIntDef(S: String; Default: Integer): Integer", 2, 2, [](FunctionArguments& a) {
             const auto value = integerOf(a, 0);
             return Variant(value ? *value : a.integer(1));
         }});
    registry.add({"StrToFloat", "StrToFloat(S: String): Extended", 1, 1, [](FunctionArguments& a) {
                      const auto value = floatOf(a, 0);
                      if (!value)
                          a.fail("'" + a.text(0) + "' no es un valor numérico válido");
                      return Variant(*value);
                  }});
    registry.add({"StrToFloatDef", "StrToFloatDef(S: String; Default: Extended): Extended", 2, 2,
                  [](FunctionArguments& a) {
                      const auto value = floatOf(a, 0);
                      return Variant(value ? *value : a.number(1));
                  }});
    registry.add({"StrToCurr", "StrToCurr(S: String): Currency", 1, 1, [](FunctionArguments& a) {
                      const auto value = floatOf(a, 0);
                      const auto money = value ? currencyFromDouble(*value) : std::nullopt;
                      if (!money)
                          a.fail("'" + a.text(0) + "' no es un valor de moneda válido");
                      return Variant(*money);
                  }});
    registry.add({"StrToDate", "StrToDate(S: String): TDateTime", 1, 1, [](FunctionArguments& a) {
                      const auto serial = dateOf(a, 0, parseDateText);
                      if (!serial)
                          a.fail("'" + a.text(0) + "' no es una fecha válida");
                      return Variant(DateTime{*serial});
                  }});
    registry.add({"StrToTime", "StrToTime(S: String): TDateTime", 1, 1, [](FunctionArguments& a) {
                      const auto serial = dateOf(a, 0, parseTimeText);
                      if (!serial)
                          a.fail("'" + a.text(0) + "' no es una hora válida");
                      return Variant(DateTime{*serial});
                  }});
    registry.add({"StrToDateTime", "StrToDateTime(S: String): TDateTime", 1, 1, [](FunctionArguments& a) {
                      const auto serial = dateOf(a, 0, parseDateTimeText);
                      if (!serial)
                          a.fail("'" + a.text(0) + "' no es una fecha y hora válida");
                      return Variant(DateTime{*serial});
                  }});
    registry.add({"DateToStr", "DateToStr(Date: TDateTime): String", 1, 1,
                  [](FunctionArguments& a) { return Variant(dateText(validSerial(a, 0), a.format())); }});
    registry.add({"TimeToStr", "TimeToStr(Time: TDateTime): String", 1, 1,
                  [](FunctionArguments& a) { return Variant(timeText(validSerial(a, 0), a.format())); }});
    registry.add({"DateTimeToStr", "DateTimeToStr(DateTime: TDateTime): String", 1, 1,
                  [](FunctionArguments& a) { return Variant(dateTimeText(validSerial(a, 0), a.format())); }});
    registry.add({"VarToStr", "VarToStr(V: Variant): String", 1, 1,
                  [](FunctionArguments& a) { return Variant(a.text(0)); }});
    registry.add({"BoolToStr", "BoolToStr(B: Boolean; UseBoolStrs: Boolean = False): String", 1, 2,
                  [](FunctionArguments& a) {
                      const bool value = a.boolean(0);
                      if (a.count() > 1 && a.boolean(1))
                          return Variant(value ? "True" : "False");
                      return Variant(value ? "-1" : "0");
                  }});
    registry.add({"StrToBool", "StrToBool(S: String): Boolean", 1, 1, [](FunctionArguments& a) {
                      const auto value = booleanOf(a.text(0));
                      if (!value)
                          a.fail("'" + a.text(0) + "' no es un valor lógico válido");
                      return Variant(*value);
                  }});
    registry.add({"ValidInt", "ValidInt(S: String): Boolean", 1, 1,
                  [](FunctionArguments& a) { return Variant(integerOf(a, 0).has_value()); }});
    registry.add({"ValidFloat", "ValidFloat(S: String): Boolean", 1, 1,
                  [](FunctionArguments& a) { return Variant(floatOf(a, 0).has_value()); }});
    registry.add({"ValidDate", "ValidDate(S: String): Boolean", 1, 1,
                  [](FunctionArguments& a) { return Variant(dateOf(a, 0, parseDateTimeText).has_value()); }});
    registry.add({"VarIsNull", "VarIsNull(V: Variant): Boolean", 1, 1,
                  [](FunctionArguments& a) { return Variant(a.value(0).isNull()); }});
    registry.add({"VarIsEmpty", "VarIsEmpty(V: Variant): Boolean", 1, 1,
                  [](FunctionArguments& a) { return Variant(a.value(0).isNull()); }});
}

} // namespace velkaro::report
