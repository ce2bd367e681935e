#include "util/text_helpers.h"

#include <gtest/gtest.h>

#include <string>

namespace varelo {
namespace {

using namespace std::string_literals;

TEST(Trimming, RemovesBlanksOnlyAndKeepsEveryOtherByte) {
    struct Case {
        std::string text, left, right, both;
    };
    const Case cases[] = {
        {"", "", "", ""},
        {"   ", "", "", ""},
        {"  a b  ", "a b  ", "  a b", "a b"},
        {"\tx\t", "\tx\t", "\tx\t", "\tx\t"},                  // a tab is not a blank
        {" \0 "s, "\0 "s, " \0"s, "\0"s},                      // nor is a zero byte
        {"\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0"},  // nor a no-break space
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimLeftSpaces(c.text), c.left) << '"' << c.text << '"';
        EXPECT_EQ(TrimRightSpaces(c.text), c.right) << '"' << c.text << '"';
        EXPECT_EQ(TrimSpaces(c.text), c.both) << '"' << c.text << '"';
    }
}

TEST(Spaces, GivesCountBlanksAndNothingForZeroOrLess) {
    EXPECT_EQ(Spaces(3), "   ");
    EXPECT_EQ(Spaces(0), "");
    EXPECT_EQ(Spaces(-5), "");
}

TEST(Alignment, PadsToTheWidthAndNeverCuts) {
    struct Case {
        std::string text;
        std::int32_t width;
        std::string right, left;
    };
    const Case cases[] = {
        {"12  ", 0, "  12", "12  "},  // width 0: as wide as the text passed
        {"  12", 0, "  12", "12  "},
        {"12", 5, "   12", "12   "},
        {"abc", 2, "abc", "abc"},  // too narrow a field keeps the whole text
        {" a ", 5, "    a", "a    "},
        {" a ", -3, "  a", "a  "},
        {"", 0, "", ""},
        {"", 2, "  ", "  "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AlignRight(c.text, c.width), c.right) << '"' << c.text << "\" " << c.width;
        EXPECT_EQ(AlignLeft(c.text, c.width), c.left) << '"' << c.text << "\" " << c.width;
    }
}

TEST(CleanIntegerText, MakesASignedIntegerTextInTheTypedWidth) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "0"},
        {"   ", "0  "},
        {"-3", "-3"},
        {"+", "+"},
        {"-", "-"},
        {"--5", "-05"},
        {"4x2", "402"},
        {"5-", "50"},
        {"x", "0"},
        {"ab", "0 "},  // the last character left is not usable either
        {"x7", "7 "},
        {"ab12", "12  "},
        {"1,5.3", "1    "},
        {"12.7", "12  "},
        {".5", "0 "},
        {" 12 ", "12  "},
        {"007", "007"},
        {"\t5", "5 "},  // a tab is removed as a bad first character, not trimmed
        {"1\0"
         "2"s,
         "102"},
        {"-2147483649", "-2147483649"},  // range is the converter's business
    };
    for (const auto& [typed, cleaned] : cases) {
        EXPECT_EQ(CleanIntegerText(typed), cleaned) << '"' << typed << '"';
    }
}

TEST(HexToBinText, GivesFourBitGroupsOrNothing) {
    const std::pair<std::string, std::string> cases[] = {
        {"1f", " 0001 1111"},
        {"1F", " 0001 1111"},
        {"0", " 0000"},
        {"A5c3", " 1010 0101 1100 0011"},
        {"FFFFFFFF", " 1111 1111 1111 1111 1111 1111 1111 1111"},
        {"G1", ""},
        {"1G", ""},
        {"1 2", ""},
        {"", ""},
    };
    for (const auto& [hex, bits] : cases) EXPECT_EQ(HexToBinText(hex), bits) << '"' << hex << '"';
}

TEST(BinTextToInt, ReadsOnesByPositionAndWrapsAt32Bits) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"1010", 10},
        {"1 0", 4},  // every character takes a bit position
        {"x1", 1},
        {"", 0},
        {std::string(32, '1'), -1},
        {"1" + std::string(31, '0'), INT32_MIN},
        {"1" + std::string(32, '0'), 0},  // the 33rd position adds nothing
        {"11" + std::string(31, '1'), -1},
        {" 0001 1111", 47},  // the group blank takes a bit: strip it first
    };
    for (const auto& [bits, value] : cases) EXPECT_EQ(BinTextToInt(bits), value) << '"' << bits << '"';
}

}  // namespace
}  // namespace varelo
