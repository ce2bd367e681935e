#include "widgets/edit_exit_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace varelo {
namespace {

struct AlignCase {
    std::u16string text;
    TEditAlign align;
    int length;
    std::u16string expected;
};

TEST(ExitTidying, StringAlignment) {
    const AlignCase cases[] = {
        {u"ab", etAlignRight, 5, u"   ab"},
        {u"  ab", etAlignLeft, 5, u"ab   "},
        {u"   ", etAlignLeft, 5, u"     "},
        {u"ab", etAlignCenter, 5, u"  ab  "},  // 1.5 blanks round to 2; one more at the end
        {u"ab", etAlignCenter, 4, u" ab  "},
        {u"ab", etAlignCenter, 7, u"  ab    "},  // 2.5 rounds to 2 (half to even)
        {u"abcde", etAlignRight, 5, u"abcde"},   // already long enough
        {u"ab", etAlignRight, 0, u"ab"},
        {u"ab", etAlignNone, 5, u"ab"},
        {u"ab", etAlignValue, 5, u"ab"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(alignText(c.text, c.align, c.length), c.expected)
            << "align " << c.align << ", length " << c.length;
    }
}

TEST(ExitTidying, ZeroFilling) {
    EXPECT_EQ(zeroFill(u"7", 3), u"007");
    EXPECT_EQ(zeroFill(u"-5", 4), u"00-5") << "the minus is moved to the front afterwards";
    EXPECT_EQ(zeroFill(u"1234", 3), u"1234");
    EXPECT_EQ(zeroFill(u"7", 0), u"7");
}

TEST(ExitTidying, FloatPrecisionIsCutNotRounded) {
    EXPECT_EQ(fixDecimals(u"3", 2, u','), u"3,00");
    EXPECT_EQ(fixDecimals(u"3,456", 2, u','), u"3,45");
    EXPECT_EQ(fixDecimals(u"3,999", 2, u','), u"3,99");
    EXPECT_EQ(fixDecimals(u"3,4", 2, u','), u"3,40");
    EXPECT_EQ(fixDecimals(u"3,", 2, u','), u"3,00");
    EXPECT_EQ(fixDecimals(u"", 2, u','), u"0,00");
    EXPECT_EQ(fixDecimals(u"-1,5", 1, u','), u"-1,5");
}

}  // namespace
}  // namespace varelo
