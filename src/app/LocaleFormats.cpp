#include "app/LocaleFormats.h"

#include "base/FormatSettings.h"

#include <QLocale>

namespace {

// Qt's date-time pattern letters into the report language's (minutes are "n", AM/PM "am/pm").
std::string toReportPattern(const QString& qtPattern) {
    std::string out;
    const QString p = qtPattern;
    for (qsizetype i = 0; i < p.size();) {
        const QChar c = p[i];
        qsizetype run = 1;
        while (i + run < p.size() && p[i + run] == c)
            ++run;
        if (c == QLatin1Char('\'')) {
            // Quoted literal: copy through to the closing quote.
            qsizetype end = p.indexOf(QLatin1Char('\''), i + 1);
            if (end < 0)
                end = p.size();
            out += '"';
            out += p.mid(i + 1, end - i - 1).toStdString();
            out += '"';
            i = end + 1;
            continue;
        }
        const auto repeat = [&](char letter, qsizetype count) {
            out.append(static_cast<size_t>(count), letter);
        };
        switch (c.unicode()) {
        case 'd':
            repeat('d', run);
            break;
        case 'M':
            repeat('m', run);
            break;
        case 'y':
            repeat('y', run <= 2 ? 2 : 4);
            break;
        case 'h':
        case 'H':
            repeat('h', run);
            break;
        case 'm':
            repeat('n', run);
            break;
        case 's':
            repeat('s', run);
            break;
        case 'z':
            repeat('z', run);
            break;
        case 'A':
        case 'a':
            out += "am/pm";
            if (i + 1 < p.size() && (p[i + 1] == QLatin1Char('P') || p[i + 1] == QLatin1Char('p')))
                ++run;
            break;
        case 't':
            break; // time zone: not in the report language
        default:
            out += QString(run, c).toStdString();
            break;
        }
        i += run;
    }
    // Drop blanks left by a removed time zone.
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

char separatorOf(const std::string& pattern, const char* letters) {
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (std::string_view(letters).find(c) == std::string_view::npos && c != '"' && c != ' ')
            return c;
    }
    return 0;
}

} // namespace

void CopyLocaleFormats(const QLocale& locale, velkaro::FormatSettings& settings) {
    settings.shortDateFormat = toReportPattern(locale.dateFormat(QLocale::ShortFormat));
    // Two-digit years are ambiguous in reports; show the full year as a Windows short date does.
    if (settings.shortDateFormat.find("yyyy") == std::string::npos) {
        const size_t yy = settings.shortDateFormat.find("yy");
        if (yy != std::string::npos)
            settings.shortDateFormat.replace(yy, 2, "yyyy");
    }
    settings.longDateFormat = toReportPattern(locale.dateFormat(QLocale::LongFormat));
    settings.shortTimeFormat = toReportPattern(locale.timeFormat(QLocale::ShortFormat));
    settings.longTimeFormat = toReportPattern(locale.timeFormat(QLocale::LongFormat));
    if (const char sep = separatorOf(settings.shortDateFormat, "dmy"); sep != 0)
        settings.dateSeparator = sep;
    if (const char sep = separatorOf(settings.longTimeFormat, "hnsz"); sep != 0)
        settings.timeSeparator = sep;
    settings.timeAmString = locale.amText().toStdString();
    settings.timePmString = locale.pmText().toStdString();
    for (int month = 1; month <= 12; ++month) {
        settings.shortMonthNames[size_t(month - 1)] =
            locale.monthName(month, QLocale::ShortFormat).toStdString();
        settings.longMonthNames[size_t(month - 1)] =
            locale.monthName(month, QLocale::LongFormat).toStdString();
    }
    for (int day = 0; day < 7; ++day) {
        const int qtDay = day == 0 ? 7 : day; // Qt counts Monday as 1, Sunday as 7
        settings.shortDayNames[size_t(day)] = locale.dayName(qtDay, QLocale::ShortFormat).toStdString();
        settings.longDayNames[size_t(day)] = locale.dayName(qtDay, QLocale::LongFormat).toStdString();
    }
    settings.currencyString = locale.currencySymbol().toStdString();
}
