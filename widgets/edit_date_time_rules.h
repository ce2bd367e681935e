#pragma once

#include "widgets/edit_locale.h"

#include <optional>
#include <string>
#include <string_view>

namespace varelo {

inline constexpr const char* kDateIncorrectMessage = "Date incorrect";
inline constexpr const char* kTimeIncorrectMessage = "Time incorrect";

struct CivilDate {
    int year = 1;
    int month = 1;
    int day = 1;
    bool operator==(const CivilDate&) const = default;
};

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const ClockTime&) const = default;
};

// Dates and times as numbers: days since 30 December 1899, the time of day as a
// fraction of a day.
double dateSerial(CivilDate date);
double timeSerial(ClockTime time);

// Two-digit day and month and four-digit year, in the locale's order and with
// its separator ("05/12/2026").
std::u16string formatDate(CivilDate date, const EditLocale& locale);
// "hh:mm:ss" with the given separator.
std::u16string formatTime(ClockTime time, char16_t separator);

// A date written in the locale's order with its separator, each part digits
// only, the year 1 to 9999; empty when it is no date.
std::optional<CivilDate> parseDate(std::u16string_view text, const EditLocale& locale);
// "h:m" or "h:m:s" with the given separator, within one day; empty when it is no time.
std::optional<ClockTime> parseTime(std::u16string_view text, char16_t separator);

// The date a date field holds once the focus leaves it. Only the digits count:
// the day and the month take two digits each, in the order the locale writes
// them, the year four and always last; what is missing comes from `today`.
// `text` is the completed text, `date` is empty when that text is no date.
struct DateCompletion {
    std::u16string text;
    std::optional<CivilDate> date;
};
DateCompletion completeDate(std::u16string_view text, const EditLocale& locale, CivilDate today);

// The time a time field holds once the focus leaves it: hours, minutes and
// seconds take two digits each; what is missing is zero. An empty field takes
// `now`, with its seconds.
struct TimeCompletion {
    std::u16string text;
    std::optional<ClockTime> time;
};
TimeCompletion completeTime(std::u16string_view text, bool withSeconds, char16_t separator, ClockTime now);

}  // namespace varelo
