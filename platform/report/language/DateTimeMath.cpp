#include "report/language/DateTimeMath.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

namespace velkaro::report {

namespace {

constexpr int64_t kMillisecondsPerDay = 86'400'000;
// Days from 1970-01-01 to 1899-12-30.
constexpr int64_t kUnixEpochSerial = 25569;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

CalendarDate civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return CalendarDate{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

} // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<double> encodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;
    return static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               kUnixEpochSerial);
}

std::optional<double> encodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        return std::nullopt;
    const int64_t ms = ((int64_t(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(ms) / kMillisecondsPerDay;
}

double combineDateAndTime(double date, double time) {
    return date < 0 ? date - time : date + time;
}

bool isSerialInRange(double serial) {
    return std::isfinite(serial) && serial >= kFirstSerial - 1 && serial < kPastLastSerial;
}

DayAndTime splitSerial(double serial) {
    if (!std::isfinite(serial))
        serial = 0;
    if (serial < kFirstSerial - 1)
        serial = kFirstSerial;
    if (serial >= kPastLastSerial)
        serial = kPastLastSerial - 1;
    const double whole = std::trunc(serial);
    auto day = static_cast<int64_t>(whole);
    auto ms = static_cast<int64_t>(std::llround(std::fabs(serial - whole) * kMillisecondsPerDay));
    if (ms >= kMillisecondsPerDay) {
        ms -= kMillisecondsPerDay;
        day += serial < 0 ? -1 : 1;
    }
    return DayAndTime{day, ms};
}

CalendarDate dateOfDay(int64_t day) {
    return civilFromDays(day - kUnixEpochSerial);
}

ClockTime timeOfMillisecond(int64_t ms) {
    ClockTime t;
    t.millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    t.second = static_cast<int>(ms % 60);
    ms /= 60;
    t.minute = static_cast<int>(ms % 60);
    t.hour = static_cast<int>(ms / 60);
    return t;
}

CalendarDate decodeDate(double serial) {
    return dateOfDay(splitSerial(serial).day);
}
ClockTime decodeTime(double serial) {
    return timeOfMillisecond(splitSerial(serial).millisecond);
}

int dayOfWeek(double serial) {
    const int64_t day = splitSerial(serial).day;
    // 1899-12-30 was a Saturday.
    const int64_t index = ((day % 7) + 7 + 6) % 7; // 0 = Sunday
    return static_cast<int>(index) + 1;
}

std::optional<double> incrementMonths(double serial, int64_t months) {
    const DayAndTime parts = splitSerial(serial);
    const CalendarDate date = dateOfDay(parts.day);
    const int64_t monthIndex = int64_t(date.year) * 12 + (date.month - 1) + months;
    if (monthIndex < 12 || monthIndex >= 10000 * 12)
        return std::nullopt;
    const int year = static_cast<int>(monthIndex / 12);
    const int month = static_cast<int>(monthIndex % 12) + 1;
    const int day = std::min(date.day, daysInMonth(year, month));
    const auto newDate = encodeDate(year, month, day);
    if (!newDate)
        return std::nullopt;
    return combineDateAndTime(*newDate, static_cast<double>(parts.millisecond) / kMillisecondsPerDay);
}

double currentDateTime() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    const double date = encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).value_or(0.0);
    const double time =
        encodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(ms))
            .value_or(0.0);
    return date + time;
}

double currentDate() {
    return std::trunc(currentDateTime());
}

double currentTime() {
    const double now = currentDateTime();
    return now - std::trunc(now);
}

} // namespace velkaro::report
