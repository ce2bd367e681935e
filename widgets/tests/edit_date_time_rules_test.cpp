#include "widgets/edit_date_time_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace varelo {
namespace {

constexpr CivilDate kToday{2026, 12, 7};
const EditLocale kDayFirst{u',', u'/', u':', DateOrder::DayMonthYear};

std::string ascii(const std::u16string& s) {
    return std::string(s.begin(), s.end());
}

struct DateCase {
    std::u16string typed;
    std::u16string completed;
    std::optional<CivilDate> date;
};

TEST(DateCompletion, DigitsAreCompletedFromTodayInDayMonthYearOrder) {
    const DateCase cases[] = {
        {u"", u"07/12/2026", kToday},
        {u"5", u"05/12/2026", CivilDate{2026, 12, 5}},
        {u"25", u"25/12/2026", CivilDate{2026, 12, 25}},
        {u"051", u"05/01/2026", CivilDate{2026, 1, 5}},
        {u"0511", u"05/11/2026", CivilDate{2026, 11, 5}},
        {u"05113", u"05/11/2023", CivilDate{2023, 11, 5}},
        {u"051125", u"05/11/2025", CivilDate{2025, 11, 5}},
        {u"0511199", u"05/11/2199", CivilDate{2199, 11, 5}},
        {u"05111999", u"05/11/1999", CivilDate{1999, 11, 5}},
        {u"0511199912", u"05/11/1999", CivilDate{1999, 11, 5}},  // extra digits dropped
        {u"05#11/1999", u"05/11/1999", CivilDate{1999, 11, 5}},  // only digits count
        {u"31022026", u"31/02/2026", std::nullopt},
        {u"29022028", u"29/02/2028", CivilDate{2028, 2, 29}},
        {u"13132026", u"13/13/2026", std::nullopt},
        {u"00122026", u"00/12/2026", std::nullopt},
        {u"12345678901", u"12345678901", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto result = completeDate(c.typed, kDayFirst, kToday);
        EXPECT_EQ(result.text, c.completed) << ascii(c.typed);
        EXPECT_EQ(result.date, c.date) << ascii(c.typed);
    }
}

TEST(DateCompletion, OtherLocaleOrdersAndSeparators) {
    const EditLocale monthFirst{u'.', u'/', u':', DateOrder::MonthDayYear};
    EXPECT_EQ(completeDate(u"", monthFirst, kToday).text, u"12/07/2026");
    const auto may = completeDate(u"5", monthFirst, kToday);
    EXPECT_EQ(may.text, u"05/07/2026") << "the missing day is today's";
    EXPECT_EQ(may.date, (CivilDate{2026, 5, 7}));

    const EditLocale yearFirst{u',', u'-', u':', DateOrder::YearMonthDay};
    const auto typed = completeDate(u"110525", yearFirst, kToday);
    EXPECT_EQ(typed.text, u"2025-11-05");
    EXPECT_EQ(typed.date, (CivilDate{2025, 11, 5}));
    const auto again = completeDate(u"2025-11-05", yearFirst, kToday);
    EXPECT_EQ(again.text, u"2025-11-05") << "a completed date stays when the field is left again";
    EXPECT_EQ(again.date, (CivilDate{2025, 11, 5}));

    const EditLocale dots{u',', u'.', u':', DateOrder::DayMonthYear};
    EXPECT_EQ(completeDate(u"0511", dots, kToday).text, u"05.11.2026");
}

struct TimeCase {
    std::u16string typed;
    bool withSeconds;
    std::u16string completed;
    std::optional<ClockTime> time;
};

TEST(TimeCompletion, DigitsAreCompletedWithZeros) {
    const ClockTime now{14, 3, 9};
    const TimeCase cases[] = {
        {u"", false, u"14:03:09", now},
        {u"7", false, u"07:00", ClockTime{7, 0, 0}},
        {u"0930", false, u"09:30", ClockTime{9, 30, 0}},
        {u"930", false, u"93:00", std::nullopt},
        {u"09305", false, u"09:30", ClockTime{9, 30, 0}},
        {u"093015", false, u"093015", std::nullopt},
        {u"2360", false, u"23:60", std::nullopt},
        {u"", true, u"14:03:09", now},
        {u"7", true, u"07:00:00", ClockTime{7, 0, 0}},
        {u"093", true, u"09:03:00", ClockTime{9, 3, 0}},
        {u"09305", true, u"09:30:05", ClockTime{9, 30, 5}},
        {u"093015", true, u"09:30:15", ClockTime{9, 30, 15}},
        {u"09301599", true, u"09:30:15", ClockTime{9, 30, 15}},
        {u"093015991", true, u"093015991", std::nullopt},
        {u"235959", true, u"23:59:59", ClockTime{23, 59, 59}},
        {u"240000", true, u"24:00:00", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto result = completeTime(c.typed, c.withSeconds, u':', now);
        EXPECT_EQ(result.text, c.completed) << ascii(c.typed) << (c.withSeconds ? " with" : " without");
        EXPECT_EQ(result.time, c.time) << ascii(c.typed) << (c.withSeconds ? " with" : " without");
    }
}

TEST(DateTimeSerials, CountDaysFromTheLastDaysOf1899) {
    EXPECT_EQ(dateSerial({1899, 12, 30}), 0);
    EXPECT_EQ(dateSerial({1900, 1, 1}), 2);
    EXPECT_EQ(dateSerial({2000, 1, 1}), 36526);
    EXPECT_EQ(dateSerial({2026, 12, 7}), 46363);
    EXPECT_DOUBLE_EQ(timeSerial({12, 0, 0}), 0.5);
    EXPECT_DOUBLE_EQ(timeSerial({6, 0, 0}), 0.25);
}

}  // namespace
}  // namespace varelo
