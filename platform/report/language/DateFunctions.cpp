// Date and time functions on day serials. Date, Time and Now read the report's clock (the
// system variables), so a report shows one date however long it runs.
#include "report/language/DateTimeMath.h"
#include "report/language/DateTimeText.h"
#include "report/language/FunctionRegistry.h"
#include "report/language/LanguageError.h"

#include <algorithm>
#include <cmath>

namespace velkaro::report {

namespace {

constexpr double kMillisecondsPerDay = 86'400'000.0;

double validSerial(const FunctionArguments& a, size_t index) {
    const double serial = a.dateTime(index);
    if (!isSerialInRange(serial))
        a.fail("la fecha está fuera del rango admitido (años 1 a 9999)");
    return serial;
}

int checkedPart(const FunctionArguments& a, size_t index) {
    const int64_t value = a.integer(index);
    if (value < -1'000'000 || value > 1'000'000)
        a.fail("valor fuera de rango: " + std::to_string(value));
    return static_cast<int>(value);
}

Variant dateResult(const FunctionArguments& a, std::optional<double> serial) {
    if (!serial || !isSerialInRange(*serial))
        a.fail("la fecha resultante no es válida");
    return Variant(DateTime{*serial});
}

double systemSerial(const FunctionArguments& a, SystemVariable variable) {
    return valueToDateTime(a.context().system().systemVariable(variable), a.rules());
}

Variant addDays(const FunctionArguments& a, double days) {
    const double serial = validSerial(a, 0);
    return dateResult(a, serial + days);
}

} // namespace

void addDateFunctions(FunctionRegistry& registry) {
    registry.add({"Date", "Date: TDateTime", 0, 0, [](FunctionArguments& a) {
                      return Variant(DateTime{std::trunc(systemSerial(a, SystemVariable::Date))});
                  }});
    registry.add({"Time", "Time: TDateTime", 0, 0, [](FunctionArguments& a) {
                      const double time = systemSerial(a, SystemVariable::Time);
                      return Variant(DateTime{std::fabs(time - std::trunc(time))});
                  }});
    registry.add({"Now", "Now: TDateTime", 0, 0, [](FunctionArguments& a) {
                      const double date = std::trunc(systemSerial(a, SystemVariable::Date));
                      const double time = systemSerial(a, SystemVariable::Time);
                      return Variant(DateTime{combineDateAndTime(date, std::fabs(time - std::trunc(time)))});
                  }});
    registry.add(
        {"EncodeDate", "EncodeDate(Year, Month, Day: Word): TDateTime", 3, 3, [](FunctionArguments& a) {
             const auto serial = encodeDate(checkedPart(a, 0), checkedPart(a, 1), checkedPart(a, 2));
             if (!serial)
                 a.fail("la fecha " + a.text(2) + "/" + a.text(1) + "/" + a.text(0) + " no es válida");
             return Variant(DateTime{*serial});
         }});
    registry.add(
        {"EncodeTime", "EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime", 3, 4, [](FunctionArguments& a) {
             const auto serial = encodeTime(checkedPart(a, 0), checkedPart(a, 1), checkedPart(a, 2),
                                            a.count() > 3 ? checkedPart(a, 3) : 0);
             if (!serial)
                 a.fail("la hora no es válida");
             return Variant(DateTime{*serial});
         }});
    registry.add({"DecodeDate",
                  "DecodeDate(Date: TDateTime; var Year, Month, Day: Word)",
                  4,
                  4,
                  [](FunctionArguments& a) {
                      const CalendarDate date = decodeDate(validSerial(a, 0));
                      a.reference(1) = Variant(int64_t(date.year));
                      a.reference(2) = Variant(int64_t(date.month));
                      a.reference(3) = Variant(int64_t(date.day));
                      return Variant();
                  },
                  {ParameterMode::Value, ParameterMode::Reference, ParameterMode::Reference,
                   ParameterMode::Reference}});
    registry.add({"DecodeTime",
                  "DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)",
                  5,
                  5,
                  [](FunctionArguments& a) {
                      const ClockTime time = decodeTime(validSerial(a, 0));
                      a.reference(1) = Variant(int64_t(time.hour));
                      a.reference(2) = Variant(int64_t(time.minute));
                      a.reference(3) = Variant(int64_t(time.second));
                      a.reference(4) = Variant(int64_t(time.millisecond));
                      return Variant();
                  },
                  {ParameterMode::Value, ParameterMode::Reference, ParameterMode::Reference,
                   ParameterMode::Reference, ParameterMode::Reference}});
    registry.add({"DayOfWeek", "DayOfWeek(Date: TDateTime): Integer", 1, 1,
                  [](FunctionArguments& a) { return Variant(int64_t(dayOfWeek(validSerial(a, 0)))); }});
    // DaysInMonth(Year, Month) as report scripts call it; DaysInMonth(Date) too.
    registry.add({"DaysInMonth", "DaysInMonth(Year, Month: Word): Integer", 1, 2, [](FunctionArguments& a) {
                      if (a.count() == 1) {
                          const CalendarDate date = decodeDate(validSerial(a, 0));
                          return Variant(int64_t(daysInMonth(date.year, date.month)));
                      }
                      const int days = daysInMonth(checkedPart(a, 0), checkedPart(a, 1));
                      if (days == 0)
                          a.fail("el mes " + a.text(1) + " no existe");
                      return Variant(int64_t(days));
                  }});
    registry.add({"DaysInAMonth", "DaysInAMonth(Year, Month: Word): Integer", 2, 2, [](FunctionArguments& a) {
                      const int days = daysInMonth(checkedPart(a, 0), checkedPart(a, 1));
                      if (days == 0)
                          a.fail("el mes " + a.text(1) + " no existe");
                      return Variant(int64_t(days));
                  }});
    registry.add({"IsLeapYear", "IsLeapYear(Year: Word): Boolean", 1, 1,
                  [](FunctionArguments& a) { return Variant(isLeapYear(checkedPart(a, 0))); }});
    registry.add({"IncMonth", "IncMonth(Date: TDateTime; Months: Integer = 1): TDateTime", 1, 2,
                  [](FunctionArguments& a) {
                      return dateResult(a,
                                        incrementMonths(validSerial(a, 0), a.count() > 1 ? a.integer(1) : 1));
                  }});
    registry.add({"IncYear", "IncYear(Date: TDateTime; Years: Integer = 1): TDateTime", 1, 2,
                  [](FunctionArguments& a) {
                      const int64_t years =
                          a.count() > 1 ? std::clamp<int64_t>(a.integer(1), -20000, 20000) : 1;
                      return dateResult(a, incrementMonths(validSerial(a, 0), years * 12));
                  }});
    registry.add({"IncDay", "IncDay(Date: TDateTime; Days: Integer = 1): TDateTime", 1, 2,
                  [](FunctionArguments& a) { return addDays(a, a.count() > 1 ? a.number(1) : 1.0); }});
    registry.add({"YearOf", "YearOf(Date: TDateTime): Word", 1, 1,
                  [](FunctionArguments& a) { return Variant(int64_t(decodeDate(validSerial(a, 0)).year)); }});
    registry.add({"MonthOf", "MonthOf(Date: TDateTime): Word", 1, 1, [](FunctionArguments& a) {
                      return Variant(int64_t(decodeDate(validSerial(a, 0)).month));
                  }});
    registry.add({"DayOf", "DayOf(Date: TDateTime): Word", 1, 1,
                  [](FunctionArguments& a) { return Variant(int64_t(decodeDate(validSerial(a, 0)).day)); }});
    registry.add({"HourOf", "HourOf(Time: TDateTime): Word", 1, 1,
                  [](FunctionArguments& a) { return Variant(int64_t(decodeTime(validSerial(a, 0)).hour)); }});
    registry.add({"MinuteOf", "MinuteOf(Time: TDateTime): Word", 1, 1, [](FunctionArguments& a) {
                      return Variant(int64_t(decodeTime(validSerial(a, 0)).minute));
                  }});
    registry.add({"SecondOf", "SecondOf(Time: TDateTime): Word", 1, 1, [](FunctionArguments& a) {
                      return Variant(int64_t(decodeTime(validSerial(a, 0)).second));
                  }});
    registry.add({"DateOf", "DateOf(Date: TDateTime): TDateTime", 1, 1, [](FunctionArguments& a) {
                      return Variant(DateTime{static_cast<double>(splitSerial(validSerial(a, 0)).day)});
                  }});
    registry.add({"TimeOf", "TimeOf(Date: TDateTime): TDateTime", 1, 1, [](FunctionArguments& a) {
                      return Variant(
                          DateTime{static_cast<double>(splitSerial(validSerial(a, 0)).millisecond) /
                                   kMillisecondsPerDay});
                  }});
    registry.add(
        {"DaysBetween", "DaysBetween(Now, Then: TDateTime): Integer", 2, 2, [](FunctionArguments& a) {
             const double difference = std::fabs(validSerial(a, 0) - validSerial(a, 1));
             // A whole day is only counted when complete; a millisecond of slack for rounding.
             return Variant(static_cast<int64_t>(std::floor(difference + 1.0 / kMillisecondsPerDay)));
         }});
    registry.add(
        {"StartOfTheMonth", "StartOfTheMonth(Date: TDateTime): TDateTime", 1, 1, [](FunctionArguments& a) {
             const CalendarDate date = decodeDate(validSerial(a, 0));
             return dateResult(a, encodeDate(date.year, date.month, 1));
         }});
    registry.add(
        {"EndOfTheMonth", "EndOfTheMonth(Date: TDateTime): TDateTime", 1, 1, [](FunctionArguments& a) {
             const CalendarDate date = decodeDate(validSerial(a, 0));
             const auto day = encodeDate(date.year, date.month, daysInMonth(date.year, date.month));
             return dateResult(
                 a, day ? std::optional<double>(combineDateAndTime(*day, 86'399'999.0 / kMillisecondsPerDay))
                        : std::nullopt);
         }});
    registry.add({"FormatDateTime", "FormatDateTime(Fmt: String; DateTime: TDateTime): String", 2, 2,
                  [](FunctionArguments& a) {
                      return Variant(formatDateTime(a.text(0), validSerial(a, 1), a.format()));
                  }});
}

} // namespace velkaro::report
