#include "widgets/edit_locale.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

TEST(EditLocale, OrderAndSeparatorsComeFromTheFormats) {
    const auto spanish = editLocaleFromFormats(u"d/M/yy", u"H:mm:ss", u',');
    EXPECT_EQ(spanish.dateOrder, DateOrder::DayMonthYear);
    EXPECT_EQ(spanish.dateSeparator, u'/');
    EXPECT_EQ(spanish.timeSeparator, u':');
    EXPECT_EQ(spanish.decimal, u',');

    const auto american = editLocaleFromFormats(u"M/d/yy", u"h:mm:ss AP", u'.');
    EXPECT_EQ(american.dateOrder, DateOrder::MonthDayYear);

    const auto swedish = editLocaleFromFormats(u"yyyy-MM-dd", u"HH:mm:ss", u',');
    EXPECT_EQ(swedish.dateOrder, DateOrder::YearMonthDay);
    EXPECT_EQ(swedish.dateSeparator, u'-');

    const auto finnish = editLocaleFromFormats(u"d.M.yyyy", u"H.mm.ss", u',');
    EXPECT_EQ(finnish.dateSeparator, u'.');
    EXPECT_EQ(finnish.timeSeparator, u'.');

    const auto bare = editLocaleFromFormats(u"ddMMyyyy", u"HHmmss", u'.');
    EXPECT_EQ(bare.dateSeparator, u'/') << "no separator in the format keeps the default";
    EXPECT_EQ(bare.timeSeparator, u':');
}

}  // namespace
}  // namespace varelo
