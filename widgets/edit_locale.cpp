#include "widgets/edit_locale.h"

namespace varelo {
namespace {

bool isFormatLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The first character after the first field that is neither a field letter nor a quote.
char16_t firstSeparator(std::u16string_view format, char16_t fallback) {
    bool inField = false;
    for (char16_t c : format) {
        if (isFormatLetter(c)) {
            inField = true;
        } else if (inField && c != u'\'' && c != u' ') {
            return c;
        }
    }
    return fallback;
}

}  // namespace

EditLocale editLocaleFromFormats(std::u16string_view shortDateFormat, std::u16string_view longTimeFormat,
                                 char16_t decimal) {
    EditLocale locale;
    locale.decimal = decimal;
    locale.dateSeparator = firstSeparator(shortDateFormat, locale.dateSeparator);
    locale.timeSeparator = firstSeparator(longTimeFormat, locale.timeSeparator);

    const auto day = shortDateFormat.find(u'd');
    const auto month = shortDateFormat.find(u'M');
    const auto year = shortDateFormat.find(u'y');
    if (year != std::u16string_view::npos && year < day && year < month)
        locale.dateOrder = DateOrder::YearMonthDay;
    else if (month != std::u16string_view::npos && month < day)
        locale.dateOrder = DateOrder::MonthDayYear;
    return locale;
}

}  // namespace varelo
