#include "report/language/DateTimeText.h"

#include "base/AsciiCase.h"
#include "report/language/DateTimeMath.h"
#include "report/language/LanguageError.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velkaro::report {

namespace {

std::string padded(int64_t value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<size_t>(width - static_cast<int>(digits.size())), '0');
    return value < 0 ? "-" + digits : digits;
}

bool startsWithIgnoringCase(std::string_view text, size_t pos, std::string_view prefix) {
    return text.size() - pos >= prefix.size() &&
           equalsIgnoreAsciiCase(text.substr(pos, prefix.size()), prefix);
}

// True when the pattern asks for a 12-hour clock anywhere outside quotes.
bool usesTwelveHourClock(std::string_view pattern) {
    char quote = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (startsWithIgnoringCase(pattern, i, "am/pm") || startsWithIgnoringCase(pattern, i, "a/p") ||
                   startsWithIgnoringCase(pattern, i, "ampm")) {
            return true;
        }
    }
    return false;
}

class DateTimeWriter {
public:
    DateTimeWriter(double serial, const FormatSettings& format) : format_(format) {
        const DayAndTime parts = splitSerial(serial);
        date_ = dateOfDay(parts.day);
        time_ = timeOfMillisecond(parts.millisecond);
        hasDate_ = parts.day != 0;
        hasTime_ = parts.millisecond != 0;
        weekDay_ = static_cast<int>(((parts.day % 7) + 7 + 6) % 7); // 0 = Sunday
    }

    void write(std::string_view pattern, int depth) {
        if (depth > 3)
            return; // the settings' own formats nest at most a level or two
        const bool twelveHour = usesTwelveHourClock(pattern);
        char lastToken = 0;
        size_t i = 0;
        while (i < pattern.size()) {
            const char c = pattern[i];
            const char up = asciiUpper(c);
            if (c == '"' || c == '\'') {
                const size_t end = pattern.find(c, i + 1);
                const size_t stop = end == std::string_view::npos ? pattern.size() : end;
                out_.append(pattern.substr(i + 1, stop - i - 1));
                i = stop == pattern.size() ? stop : stop + 1;
                continue;
            }
            if (c == '/') {
                out_ += format_.dateSeparator;
                ++i;
                continue;
            }
            if (c == ':') {
                out_ += format_.timeSeparator;
                ++i;
                continue;
            }
            if (up == 'A') {
                if (writeAmPm(pattern, i))
                    continue;
                out_ += c;
                ++i;
                continue;
            }
            if (up < 'A' || up > 'Z') {
                out_ += c;
                ++i;
                continue;
            }
            size_t run = 1;
            while (i + run < pattern.size() && asciiUpper(pattern[i + run]) == up)
                ++run;
            size_t used = run;
            switch (up) {
            case 'Y':
                used = std::min<size_t>(run, 4);
                out_ += used <= 2 ? padded(date_.year % 100, 2) : padded(date_.year, 4);
                break;
            case 'M':
                if (lastToken == 'H' && run <= 2) {
                    out_ += run == 1 ? std::to_string(time_.minute) : padded(time_.minute, 2);
                } else {
                    used = std::min<size_t>(run, 4);
                    if (used == 1)
                        out_ += std::to_string(date_.month);
                    else if (used == 2)
                        out_ += padded(date_.month, 2);
                    else if (used == 3)
                        out_ += format_.shortMonthNames[static_cast<size_t>(date_.month - 1)];
                    else
                        out_ += format_.longMonthNames[static_cast<size_t>(date_.month - 1)];
                }
                break;
            case 'D':
                used = std::min<size_t>(run, 6);
                if (used == 1)
                    out_ += std::to_string(date_.day);
                else if (used == 2)
                    out_ += padded(date_.day, 2);
                else if (used == 3)
                    out_ += format_.shortDayNames[static_cast<size_t>(weekDay_)];
                else if (used == 4)
                    out_ += format_.longDayNames[static_cast<size_t>(weekDay_)];
                else if (used == 5)
                    write(format_.shortDateFormat, depth + 1);
                else
                    write(format_.longDateFormat, depth + 1);
                break;
            case 'H': {
                used = std::min<size_t>(run, 2);
                int hour = time_.hour;
                if (twelveHour) {
                    hour %= 12;
                    if (hour == 0)
                        hour = 12;
                }
                out_ += used == 1 ? std::to_string(hour) : padded(hour, 2);
                break;
            }
            case 'N':
                used = std::min<size_t>(run, 2);
                out_ += used == 1 ? std::to_string(time_.minute) : padded(time_.minute, 2);
                break;
            case 'S':
                used = std::min<size_t>(run, 2);
                out_ += used == 1 ? std::to_string(time_.second) : padded(time_.second, 2);
                break;
            case 'Z':
                used = std::min<size_t>(run, 3);
                out_ += used < 3 ? std::to_string(time_.millisecond) : padded(time_.millisecond, 3);
                break;
            case 'T':
                used = std::min<size_t>(run, 2);
                write(used == 1 ? format_.shortTimeFormat : format_.longTimeFormat, depth + 1);
                break;
            case 'C':
                used = 1;
                writeDateAndTime(depth);
                break;
            default:
                out_.append(pattern.substr(i, run));
                break;
            }
            lastToken = up;
            i += used;
        }
    }

    void writeDateAndTime(int depth) {
        if (hasDate_ || !hasTime_)
            write(format_.shortDateFormat, depth + 1);
        if (hasTime_) {
            if (hasDate_)
                out_ += ' ';
            write(format_.longTimeFormat, depth + 1);
        }
    }

    [[nodiscard]] std::string take() { return std::move(out_); }

private:
    bool writeAmPm(std::string_view pattern, size_t& i) {
        const bool afternoon = time_.hour >= 12;
        if (startsWithIgnoringCase(pattern, i, "am/pm")) {
            const bool lower = pattern[i] == 'a';
            out_ += afternoon ? (lower ? "pm" : "PM") : (lower ? "am" : "AM");
            i += 5;
            return true;
        }
        if (startsWithIgnoringCase(pattern, i, "a/p")) {
            const bool lower = pattern[i] == 'a';
            out_ += afternoon ? (lower ? "p" : "P") : (lower ? "a" : "A");
            i += 3;
            return true;
        }
        if (startsWithIgnoringCase(pattern, i, "ampm")) {
            out_ += afternoon ? format_.timePmString : format_.timeAmString;
            i += 4;
            return true;
        }
        return false;
    }

    const FormatSettings& format_;
    CalendarDate date_;
    ClockTime time_;
    bool hasDate_ = false;
    bool hasTime_ = false;
    int weekDay_ = 0;
    std::string out_;
};

void requireRange(double serial) {
    if (!isSerialInRange(serial))
        throw EvaluationError("La fecha está fuera del rango admitido (años 1 a 9999)");
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

// Reads up to `maxDigits` digits at pos; nullopt when there is none.
std::optional<int> readNumber(std::string_view text, size_t& pos, size_t maxDigits,
                              size_t* digitCount = nullptr) {
    size_t count = 0;
    int value = 0;
    while (pos < text.size() && count < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++count;
    }
    if (digitCount)
        *digitCount = count;
    if (count == 0)
        return std::nullopt;
    return value;
}

int currentYear() {
    return decodeDate(currentDateTime()).year;
}

int expandTwoDigitYear(int year) {
    const int now = currentYear();
    const int window = now - 50;
    int full = window / 100 * 100 + year;
    if (full < window)
        full += 100;
    return full;
}

bool isDateSeparator(char c, const FormatSettings& format) {
    return c == format.dateSeparator || c == '/' || c == '-' || c == '.';
}

// ISO 8601 date at the start of the text: yyyy-mm-dd. Advances pos past it.
std::optional<double> parseIsoDate(std::string_view text, size_t& pos) {
    size_t p = pos;
    size_t digits = 0;
    const auto year = readNumber(text, p, 4, &digits);
    if (!year || digits != 4 || p >= text.size() || text[p] != '-')
        return std::nullopt;
    ++p;
    const auto month = readNumber(text, p, 2, &digits);
    if (!month || digits != 2 || p >= text.size() || text[p] != '-')
        return std::nullopt;
    ++p;
    const auto day = readNumber(text, p, 2, &digits);
    if (!day || digits != 2)
        return std::nullopt;
    const auto serial = encodeDate(*year, *month, *day);
    if (serial)
        pos = p;
    return serial;
}

// The order of day, month and year in a date pattern, as the letters "dmy" in order.
std::string dateOrder(std::string_view pattern) {
    std::string order;
    for (char c : pattern) {
        const char low = asciiLower(c);
        if ((low == 'd' || low == 'm' || low == 'y') && order.find(low) == std::string::npos)
            order += low;
    }
    for (char c : std::string_view("dmy")) {
        if (order.find(c) == std::string::npos)
            order += c;
    }
    return order;
}

std::optional<double> parseLocalDate(std::string_view text, const FormatSettings& format) {
    std::vector<std::pair<int, size_t>> numbers; // value, digit count
    size_t pos = 0;
    while (pos < text.size()) {
        size_t digits = 0;
        const auto value = readNumber(text, pos, 4, &digits);
        if (!value)
            return std::nullopt;
        numbers.emplace_back(*value, digits);
        if (pos == text.size())
            break;
        if (!isDateSeparator(text[pos], format) || numbers.size() == 3)
            return std::nullopt;
        ++pos;
        if (pos == text.size() && numbers.size() < 3)
            break; // "15/01/" keeps working like "15/01"
    }
    const std::string order = dateOrder(format.shortDateFormat);
    int day = 0;
    int month = 0;
    int year = 0;
    if (numbers.size() == 3) {
        for (size_t i = 0; i < 3; ++i) {
            const int value = numbers[i].first;
            if (order[i] == 'd')
                day = value;
            else if (order[i] == 'm')
                month = value;
            else
                year = numbers[i].second <= 2 ? expandTwoDigitYear(value) : value;
        }
    } else if (numbers.size() == 2) {
        std::string withoutYear;
        for (char c : order) {
            if (c != 'y')
                withoutYear += c;
        }
        day = withoutYear[0] == 'd' ? numbers[0].first : numbers[1].first;
        month = withoutYear[0] == 'd' ? numbers[1].first : numbers[0].first;
        year = currentYear();
    } else {
        return std::nullopt;
    }
    return encodeDate(year, month, day);
}

} // namespace

std::string formatDateTime(std::string_view pattern, double serial, const FormatSettings& format) {
    requireRange(serial);
    DateTimeWriter writer(serial, format);
    if (pattern.empty())
        writer.writeDateAndTime(0);
    else
        writer.write(pattern, 0);
    return writer.take();
}

std::string dateText(double serial, const FormatSettings& format) {
    return formatDateTime(format.shortDateFormat.empty() ? "dd/mm/yyyy" : format.shortDateFormat, serial,
                          format);
}

std::string timeText(double serial, const FormatSettings& format) {
    return formatDateTime(format.longTimeFormat.empty() ? "hh:nn:ss" : format.longTimeFormat, serial, format);
}

std::string dateTimeText(double serial, const FormatSettings& format) {
    return formatDateTime("", serial, format);
}

std::optional<double> parseTimeText(std::string_view text, const FormatSettings& format) {
    text = trimmed(text);
    size_t pos = 0;
    int parts[3] = {0, 0, 0};
    int millisecond = 0;
    int count = 0;
    while (count < 3) {
        const auto value = readNumber(text, pos, 2);
        if (!value)
            return std::nullopt;
        parts[count++] = *value;
        if (pos < text.size() && (text[pos] == format.timeSeparator || text[pos] == ':') && count < 3) {
            ++pos;
            continue;
        }
        break;
    }
    if (count < 2 && (pos == text.size() || text[pos] != ' '))
        return std::nullopt; // a bare number is not a time
    if (count == 3 && pos < text.size() && (text[pos] == '.' || text[pos] == format.decimalSeparator)) {
        ++pos;
        size_t digits = 0;
        const auto ms = readNumber(text, pos, 3, &digits);
        if (!ms)
            return std::nullopt;
        millisecond = *ms * (digits == 1 ? 100 : digits == 2 ? 10 : 1);
    }
    std::string_view rest = trimmed(text.substr(pos));
    int hour = parts[0];
    if (!rest.empty()) {
        const bool am = equalsIgnoreAsciiCase(rest, "am") || equalsIgnoreAsciiCase(rest, format.timeAmString);
        const bool pm = equalsIgnoreAsciiCase(rest, "pm") || equalsIgnoreAsciiCase(rest, format.timePmString);
        if ((!am && !pm) || hour < 1 || hour > 12)
            return std::nullopt;
        hour = (hour % 12) + (pm ? 12 : 0);
    }
    return encodeTime(hour, parts[1], parts[2], millisecond);
}

std::optional<double> parseDateText(std::string_view text, const FormatSettings& format) {
    text = trimmed(text);
    size_t pos = 0;
    if (const auto iso = parseIsoDate(text, pos); iso && pos == text.size())
        return iso;
    return parseLocalDate(text, format);
}

std::optional<double> parseDateTimeText(std::string_view text, const FormatSettings& format) {
    text = trimmed(text);
    size_t pos = 0;
    if (const auto iso = parseIsoDate(text, pos)) {
        if (pos == text.size())
            return iso;
        if (text[pos] != 'T' && text[pos] != ' ')
            return std::nullopt;
        std::string_view timePart = text.substr(pos + 1);
        if (!timePart.empty() && timePart.back() == 'Z')
            timePart.remove_suffix(1);
        const auto time = parseTimeText(timePart, format);
        if (!time)
            return std::nullopt;
        return combineDateAndTime(*iso, *time);
    }
    const size_t space = text.find(' ');
    if (space == std::string_view::npos) {
        if (const auto date = parseLocalDate(text, format))
            return date;
        return parseTimeText(text, format);
    }
    const auto date = parseLocalDate(text.substr(0, space), format);
    if (!date)
        return parseTimeText(text, format);
    const auto time = parseTimeText(text.substr(space + 1), format);
    if (!time)
        return std::nullopt;
    return combineDateAndTime(*date, *time);
}

} // namespace velkaro::report
