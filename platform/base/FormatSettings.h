#pragma once

#include <array>
#include <string>

namespace velkaro {

// How numbers, money, dates and times turn into text and back, process-wide. The program fixes the
// decimal separator "." and the thousands separator "," at start-up whatever the user's regional
// settings are; the date and time settings come from the user's locale.
struct FormatSettings {
    char decimalSeparator = '.';
    char thousandSeparator = ',';

    std::string currencyString = "$";
    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"; negative forms as the Windows codes 0..15.
    int currencyFormat = 0;
    int negativeCurrencyFormat = 1;
    int currencyDecimals = 2;

    char dateSeparator = '/';
    char timeSeparator = ':';
    std::string shortDateFormat = "dd/mm/yyyy";
    std::string longDateFormat = "dddd, d' de 'mmmm' de 'yyyy";
    std::string shortTimeFormat = "hh:nn";
    std::string longTimeFormat = "hh:nn:ss";
    std::string timeAmString = "a.m.";
    std::string timePmString = "p.m.";

    // UTF-8 names, January first and Sunday first.
    std::array<std::string, 12> shortMonthNames{"ene", "feb", "mar", "abr", "may", "jun",
                                                "jul", "ago", "sep", "oct", "nov", "dic"};
    std::array<std::string, 12> longMonthNames{"enero",      "febrero", "marzo",     "abril",
                                               "mayo",       "junio",   "julio",     "agosto",
                                               "septiembre", "octubre", "noviembre", "diciembre"};
    std::array<std::string, 7> shortDayNames{"dom", "lun", "mar", "mié", "jue", "vie", "sáb"};
    std::array<std::string, 7> longDayNames{"domingo", "lunes",   "martes", "miércoles",
                                            "jueves",  "viernes", "sábado"};

    // The one process-wide settings object, like the run-time library's global format variables;
    // every conversion between numbers and text consults it unless given settings of its own.
    static FormatSettings& process();
};

} // namespace velkaro
