#include "widgets/edit_date_time_rules.h"

#include <vector>

namespace varelo {
namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::u16string digitsOf(std::u16string_view text) {
    std::u16string digits;
    for (char16_t c : text)
        if (isDigit(c)) digits += c;
    return digits;
}

std::u16string padded(int value, std::size_t width) {
    std::u16string out;
    for (char c : std::to_string(value)) out += static_cast<char16_t>(c);
    if (out.size() < width) out.insert(0, width - out.size(), u'0');
    return out;
}

// The parts of `text` between separators, each read as a number; empty when a
// part is empty, holds anything but digits, or is absurdly long.
std::optional<std::vector<int>> numberParts(std::u16string_view text, char16_t separator) {
    std::vector<int> parts(1, 0);
    std::size_t length = 0;
    for (char16_t c : text) {
        if (c == separator) {
            if (length == 0) return std::nullopt;
            parts.push_back(0);
            length = 0;
        } else if (isDigit(c) && length < 6) {
            parts.back() = parts.back() * 10 + (c - u'0');
            ++length;
        } else {
            return std::nullopt;
        }
    }
    if (length == 0) return std::nullopt;
    return parts;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1 March of year 0 of the proleptic Gregorian calendar, shifted to 1970-01-01.
long daysFromCivil(CivilDate d) {
    const int y = d.year - (d.month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<long>(era) * 146097 + dayOfEra - 719468;
}

// The day and month typed first, in the locale's order, then the year.
struct DateParts {
    std::u16string first, second, year;
};

std::u16string joinDate(const DateParts& p, const EditLocale& locale) {
    const char16_t s = locale.dateSeparator;
    if (locale.dateOrder == DateOrder::YearMonthDay) return p.year + s + p.first + s + p.second;
    return p.first + s + p.second + s + p.year;
}

}  // namespace

double dateSerial(CivilDate date) {
    return static_cast<double>(daysFromCivil(date) - daysFromCivil({1899, 12, 30}));
}

double timeSerial(ClockTime time) {
    return (time.hour * 3600 + time.minute * 60 + time.second) / 86400.0;
}

std::u16string formatDate(CivilDate date, const EditLocale& locale) {
    const bool dayFirst = locale.dateOrder == DateOrder::DayMonthYear;
    const std::u16string day = padded(date.day, 2), month = padded(date.month, 2);
    return joinDate({dayFirst ? day : month, dayFirst ? month : day, padded(date.year, 4)}, locale);
}

std::u16string formatTime(ClockTime time, char16_t separator) {
    return padded(time.hour, 2) + separator + padded(time.minute, 2) + separator + padded(time.second, 2);
}

std::optional<CivilDate> parseDate(std::u16string_view text, const EditLocale& locale) {
    const auto parts = numberParts(text, locale.dateSeparator);
    if (!parts || parts->size() != 3) return std::nullopt;
    const auto& p = *parts;
    CivilDate date;
    switch (locale.dateOrder) {
        case DateOrder::DayMonthYear:
            date = {p[2], p[1], p[0]};
            break;
        case DateOrder::MonthDayYear:
            date = {p[2], p[0], p[1]};
            break;
        case DateOrder::YearMonthDay:
            date = {p[0], p[1], p[2]};
            break;
    }
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > daysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

std::optional<ClockTime> parseTime(std::u16string_view text, char16_t separator) {
    const auto parts = numberParts(text, separator);
    if (!parts || parts->size() < 2 || parts->size() > 3) return std::nullopt;
    const ClockTime time{(*parts)[0], (*parts)[1], parts->size() == 3 ? (*parts)[2] : 0};
    if (time.hour > 23 || time.minute > 59 || time.second > 59) return std::nullopt;
    return time;
}

DateCompletion completeDate(std::u16string_view text, const EditLocale& locale, CivilDate today) {
    // A year-first date cannot be read back from its digits in typing order, so
    // a whole date already written the locale's way stays as it is.
    if (locale.dateOrder == DateOrder::YearMonthDay) {
        if (const auto date = parseDate(text, locale)) return {std::u16string(text), date};
    }
    const std::u16string d = digitsOf(text);
    if (d.empty()) return {formatDate(today, locale), today};
    if (d.size() > 10) return {d, std::nullopt};

    const bool dayFirst = locale.dateOrder == DateOrder::DayMonthYear;
    const std::u16string year = padded(today.year, 4);
    DateParts parts{d.substr(0, 2), padded(dayFirst ? today.month : today.day, 2), year};
    if (d.size() == 1) parts.first = u"0" + d;
    if (d.size() == 3) parts.second = u"0" + d.substr(2, 1);
    if (d.size() >= 4) parts.second = d.substr(2, 2);
    if (d.size() >= 5 && d.size() <= 7) parts.year = year.substr(0, 8 - d.size()) + d.substr(4);
    if (d.size() >= 8) parts.year = d.substr(4, 4);

    std::u16string completed = joinDate(parts, locale);
    auto date = parseDate(completed, locale);
    return {std::move(completed), date};
}

TimeCompletion completeTime(std::u16string_view text, bool withSeconds, char16_t separator, ClockTime now) {
    const std::u16string d = digitsOf(text);
    if (d.empty()) return {formatTime(now, separator), now};
    if (d.size() > (withSeconds ? 8u : 5u)) return {d, std::nullopt};

    const char16_t s = separator;
    std::u16string hours = d.size() == 1 ? u"0" + d : d.substr(0, 2);
    std::u16string minutes = d.size() < 3 ? u"00" : d.size() == 3 ? u"0" + d.substr(2, 1) : d.substr(2, 2);
    std::u16string completed = hours + s + minutes;
    if (withSeconds) {
        const std::u16string seconds = d.size() < 5    ? u"00"
                                       : d.size() == 5 ? u"0" + d.substr(4, 1)
                                                       : d.substr(4, 2);
        completed += s + seconds;
    }
    auto time = parseTime(completed, separator);
    return {std::move(completed), time};
}

}  // namespace varelo
