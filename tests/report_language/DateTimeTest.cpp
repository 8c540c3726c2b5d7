// Calendar arithmetic, date patterns and date parsing.
#include "report/language/DateTimeMath.h"
#include "report/language/DateTimeText.h"
#include "report/language/LanguageError.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

TEST(DateMath, SerialsRoundTripAcrossTheCalendar) {
    EXPECT_EQ(encodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(encodeDate(2024, 1, 15), 45306.0);
    EXPECT_EQ(encodeDate(1, 1, 1), kFirstSerial);
    EXPECT_EQ(encodeDate(9999, 12, 31), kPastLastSerial - 1);
    EXPECT_FALSE(encodeDate(2023, 2, 29));
    EXPECT_TRUE(encodeDate(2024, 2, 29));
    EXPECT_FALSE(encodeDate(1900, 2, 29));
    EXPECT_FALSE(encodeDate(2024, 13, 1));
    EXPECT_FALSE(encodeDate(10000, 1, 1));
    for (double serial : {kFirstSerial, -1.0, 0.0, 59.0, 60.0, 45306.0, 2958465.0}) {
        const CalendarDate d = decodeDate(serial);
        EXPECT_EQ(encodeDate(d.year, d.month, d.day), serial) << serial;
    }
    const CalendarDate before = decodeDate(-1.25); // 1899-12-29 06:00
    EXPECT_EQ(before.day, 29);
    EXPECT_EQ(decodeTime(-1.25).hour, 6);
    EXPECT_EQ(dayOfWeek(45306.0), 2); // a Monday
    EXPECT_EQ(dayOfWeek(0.0), 7);     // 1899-12-30 was a Saturday
    EXPECT_EQ(daysInMonth(2024, 2), 29);
    EXPECT_EQ(daysInMonth(2023, 2), 28);
    EXPECT_EQ(daysInMonth(2023, 0), 0);
}

TEST(DateMath, TimesRoundToTheMillisecondAndCarryIntoTheNextDay) {
    const double almostMidnight = 45306.0 + 0.99999999999;
    const DayAndTime parts = splitSerial(almostMidnight);
    EXPECT_EQ(parts.day, 45307);
    EXPECT_EQ(parts.millisecond, 0);
    EXPECT_EQ(encodeTime(23, 59, 59, 999).value() < 1.0, true);
    EXPECT_FALSE(encodeTime(24, 0, 0, 0));
}

TEST(DateMath, IncrementMonthsKeepsTheDayWithinTheMonth) {
    EXPECT_EQ(incrementMonths(*encodeDate(2024, 1, 31), 1), encodeDate(2024, 2, 29));
    EXPECT_EQ(incrementMonths(*encodeDate(2024, 3, 31), -13), encodeDate(2023, 2, 28));
    EXPECT_EQ(incrementMonths(*encodeDate(2024, 1, 15) + 0.5, 12), *encodeDate(2025, 1, 15) + 0.5);
    EXPECT_FALSE(incrementMonths(*encodeDate(9999, 12, 1), 1));
}

struct PatternCase {
    const char* pattern;
    const char* expected;
};

TEST(FormatDateTime, PatternsWithTheLocaleNames) {
    const double serial = *encodeDate(2024, 1, 15) + *encodeTime(14, 5, 9, 30); // Monday
    const PatternCase cases[] = {
        {"dd/mm/yyyy", "15/01/2024"},
        {"dd.mm.yyyy", "15.01.2024"},
        {"d/m/yy", "15/1/24"},
        {"mm/dd/yyyy hh:mm", "01/15/2024 14:05"},
        {"dd/mm/yyyy hh:mm:ss", "15/01/2024 14:05:09"},
        {"hh:nn:ss.zzz", "14:05:09.030"},
        {"ddd d 'de' mmmm", "lun 15 de enero"},
        {"dddd, mmm", "lunes, ene"},
        {"h:nn am/pm", "2:05 pm"},
        {"hh:nn AM/PM", "02:05 PM"},
        {"h a/p", "2 p"},
        {"hh ampm", "02 p.m."},
        {"c", "15/01/2024 14:05:09"},
        {"", "15/01/2024 14:05:09"},
        {"ddddd", "15/01/2024"},
        {"t", "14:05"},
        {"tt", "14:05:09"},
        {"\"Fecha:\" yyyy", "Fecha: 2024"},
        {"yyyymmdd", "20240115"},
    };
    const FormatSettings format;
    for (const PatternCase& c : cases)
        EXPECT_EQ(formatDateTime(c.pattern, serial, format), c.expected) << c.pattern;
    FormatSettings english = format;
    english.longMonthNames[0] = "January";
    english.dateSeparator = '-';
    EXPECT_EQ(formatDateTime("mmmm d, yyyy", serial, english), "January 15, 2024");
    EXPECT_EQ(formatDateTime("dd/mm/yyyy", serial, english), "15-01-2024");
    EXPECT_EQ(formatDateTime("hh:nn am/pm", *encodeTime(0, 30, 0, 0), format), "12:30 am");
    EXPECT_THROW((void)formatDateTime("yyyy", 1e12, format), EvaluationError);
}

TEST(ParseDate, FollowsTheShortDateFormatAndAcceptsIso) {
    const FormatSettings format; // dd/mm/yyyy
    EXPECT_EQ(parseDateText("15/01/2024", format), encodeDate(2024, 1, 15));
    EXPECT_EQ(parseDateText("15-1-2024", format), encodeDate(2024, 1, 15));
    EXPECT_EQ(parseDateText("2024-01-15", format), encodeDate(2024, 1, 15));
    EXPECT_FALSE(parseDateText("31/02/2024", format));
    EXPECT_FALSE(parseDateText("15/01/2024x", format));
    EXPECT_FALSE(parseDateText("", format));
    FormatSettings american = format;
    american.shortDateFormat = "mm/dd/yyyy";
    EXPECT_EQ(parseDateText("01/15/2024", american), encodeDate(2024, 1, 15));
    const auto twoDigits = parseDateText("15/01/24", format);
    ASSERT_TRUE(twoDigits);
    EXPECT_EQ(decodeDate(*twoDigits).year, 2024);
    EXPECT_EQ(parseTimeText("14:05", format), encodeTime(14, 5, 0, 0));
    EXPECT_EQ(parseTimeText("2:05:09 pm", format), encodeTime(14, 5, 9, 0));
    EXPECT_FALSE(parseTimeText("25:00", format));
    EXPECT_FALSE(parseTimeText("14", format));
    EXPECT_EQ(parseDateTimeText("2024-01-15T14:05:09", format),
              *encodeDate(2024, 1, 15) + *encodeTime(14, 5, 9, 0));
    EXPECT_EQ(parseDateTimeText("15/01/2024 14:05", format),
              *encodeDate(2024, 1, 15) + *encodeTime(14, 5, 0, 0));
}

} // namespace
} // namespace velkaro::report
