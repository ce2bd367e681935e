#include "widgets/edit_number_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace varelo {
namespace {

TEST(NumberText, FiltersKeepWhatTheTypeCanHold) {
    EXPECT_EQ(keptNumberCharacters(etInteger, u"+1a 2#-3.4"), u"12-34");
    EXPECT_EQ(keptNumberCharacters(etFloat, u"+1a 2#-3.4,5"), u"12-3.4,5");
    EXPECT_EQ(keptNumberCharacters(etString, u"+1a"), u"+1a");
    EXPECT_EQ(keptNumberCharacters(etDate, u"05#11"), u"05#11") << "dates keep their text until exit";
}

TEST(NumberText, TheFirstMinusMovesToTheFront) {
    EXPECT_EQ(minusToFront(u"12-3"), u"-123");
    EXPECT_EQ(minusToFront(u"123-"), u"-123");
    EXPECT_EQ(minusToFront(u"-123"), u"-123");
    EXPECT_EQ(minusToFront(u"1-2-3"), u"-12-3");
    EXPECT_EQ(minusToFront(u"123"), u"123");
}

struct NumberCase {
    std::u16string text;
    NumberOutcome outcome;
    std::int32_t integer;
    double floating;
};

template <std::size_t N>
void expectValues(TEditTypes type, char16_t decimal, const NumberCase (&cases)[N]) {
    for (const auto& c : cases) {
        const auto v = parseNumberText(type, c.text, decimal);
        const std::string text(c.text.begin(), c.text.end());
        EXPECT_EQ(v.outcome, c.outcome) << text;
        EXPECT_EQ(v.integer, c.integer) << text;
        EXPECT_DOUBLE_EQ(v.floating, c.floating) << text;
    }
}

TEST(NumberText, IntegerValuesAsTheConverterFieldReadsThem) {
    const NumberCase cases[] = {
        {u"12", NumberOutcome::Parsed, 12, 12},
        {u"007", NumberOutcome::Parsed, 7, 7},
        {u"5-", NumberOutcome::Parsed, -5, -5},
        {u"+12", NumberOutcome::Parsed, 12, 12},
        {u"2147483647", NumberOutcome::Parsed, 2147483647, 2147483647.0},
        {u"-2147483647", NumberOutcome::Parsed, -2147483647, -2147483647.0},
        {u"2147483648", NumberOutcome::OutOfRange, 0, 0},
        {u"-2147483648", NumberOutcome::OutOfRange, 0, 0},
        {u"99999999999999999999", NumberOutcome::OutOfRange, 0, 0},
        {u"--5", NumberOutcome::NotANumber, 0, 0},
        {u"1-2-3", NumberOutcome::NotANumber, 0, 0},
        {u"-", NumberOutcome::LoneMinus, 0, 0},
        {u"", NumberOutcome::Empty, 0, 0},
        {u"+", NumberOutcome::Empty, 0, 0},
    };
    expectValues(etInteger, u'.', cases);
}

TEST(NumberText, FloatValuesFollowTheLocalesSeparator) {
    const NumberCase cases[] = {
        {u"3,5", NumberOutcome::Parsed, 3, 3.5},
        {u"3,5-", NumberOutcome::Parsed, -3, -3.5},
        {u",5", NumberOutcome::Parsed, 0, 0.5},
        {u"5,", NumberOutcome::Parsed, 5, 5},
        {u"-0,75", NumberOutcome::Parsed, 0, -0.75},
        {u"3.5", NumberOutcome::NotANumber, 0, 0},  // a point is no separator here
        {u",", NumberOutcome::NotANumber, 0, 0},
        {u"3,5,1", NumberOutcome::NotANumber, 0, 0},
        // The integer part of a float beyond 32 bits stays within the integer range.
        {u"9999999999999999", NumberOutcome::Parsed, 2147483647, 9999999999999999.0},
        {u"-9999999999,5", NumberOutcome::Parsed, -2147483647, -9999999999.5},
    };
    expectValues(etFloat, u',', cases);
}

TEST(NumberText, Int32ParsingIsStrict) {
    EXPECT_EQ(parseInt32(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(parseInt32(u"+15"), 15);
    EXPECT_EQ(parseInt32(u"00000000000000000042"), 42);
    EXPECT_EQ(parseInt32(u"2147483648"), std::nullopt);
    EXPECT_EQ(parseInt32(u"-"), std::nullopt);
    EXPECT_EQ(parseInt32(u""), std::nullopt);
    EXPECT_EQ(parseInt32(u"1.5"), std::nullopt);
    EXPECT_EQ(parseInt32(u" 5"), std::nullopt);
}

}  // namespace
}  // namespace varelo
