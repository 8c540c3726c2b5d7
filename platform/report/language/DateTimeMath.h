#pragma once

#include <cstdint>
#include <optional>

namespace velkaro::report {

// Date arithmetic on day serials: days since 1899-12-30, the fraction is the time of day. Before
// 1899-12-30 the whole part is negative and the fraction still counts forward from midnight
// (-1.25 is 1899-12-29 06:00). Valid years are 1 to 9999.

struct CalendarDate {
    int year = 1899;
    int month = 12;
    int day = 30;
};

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// A serial split into whole days and milliseconds of that day, rounded to the millisecond (a
// time that rounds up to midnight moves to the next day).
struct DayAndTime {
    int64_t day = 0;
    int64_t millisecond = 0;
};

inline constexpr double kFirstSerial = -693593.0;    // 0001-01-01
inline constexpr double kPastLastSerial = 2958466.0; // 10000-01-01

[[nodiscard]] bool isLeapYear(int year);
// 0 for a month outside 1..12.
[[nodiscard]] int daysInMonth(int year, int month);

// nullopt when the parts do not make a date (or time).
[[nodiscard]] std::optional<double> encodeDate(int year, int month, int day);
[[nodiscard]] std::optional<double> encodeTime(int hour, int minute, int second, int millisecond);
// A date serial and a time fraction combined the Pascal way (a time counts forward also before
// 1899-12-30).
[[nodiscard]] double combineDateAndTime(double date, double time);

[[nodiscard]] bool isSerialInRange(double serial);
// Callers check isSerialInRange first; out-of-range serials are clamped.
[[nodiscard]] DayAndTime splitSerial(double serial);
[[nodiscard]] CalendarDate decodeDate(double serial);
[[nodiscard]] ClockTime decodeTime(double serial);
[[nodiscard]] CalendarDate dateOfDay(int64_t day);
[[nodiscard]] ClockTime timeOfMillisecond(int64_t millisecond);

// 1 = Sunday ... 7 = Saturday.
[[nodiscard]] int dayOfWeek(double serial);
// Adds months, keeping the day but not past the end of the target month; the time stays.
[[nodiscard]] std::optional<double> incrementMonths(double serial, int64_t months);

// The machine's local date and time now.
[[nodiscard]] double currentDateTime();
[[nodiscard]] double currentDate();
[[nodiscard]] double currentTime();

} // namespace velkaro::report
