#pragma once

#include <string_view>

namespace varelo {

// The order in which the locale writes the day, the month and the year.
enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The regional settings the typed edit fields follow, copied once so that the
// rules themselves need no locale service.
struct EditLocale {
    char16_t decimal = u'.';
    char16_t dateSeparator = u'/';
    char16_t timeSeparator = u':';
    DateOrder dateOrder = DateOrder::DayMonthYear;
};

// Reads the order and the separators out of the locale's short date format
// ("dd/MM/yyyy", "M/d/yy", "yyyy-MM-dd") and long time format ("HH:mm:ss").
// A format without a separator keeps the default one.
EditLocale editLocaleFromFormats(std::u16string_view shortDateFormat, std::u16string_view longTimeFormat,
                                 char16_t decimal);

}  // namespace varelo
