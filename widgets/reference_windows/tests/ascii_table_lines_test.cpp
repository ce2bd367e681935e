#include "widgets/reference_windows/ascii_table_lines.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace varelo {
namespace {

TEST(AsciiTableLines, TwentyEightFullLinesAndALastOneOfFourCells) {
    const auto lines = asciiTableLines();
    ASSERT_EQ(lines.size(), 29u);
    for (size_t i = 0; i < 28; ++i) EXPECT_EQ(lines[i].size(), 81u) << "line " << i + 1;
    EXPECT_EQ(lines[28].size(), 36u);
}

struct KeyLine {
    int number;  // counted from 1
    std::string bytes;
};

void PrintTo(const KeyLine& key, std::ostream* os) {
    *os << "line " << key.number;
}

class AsciiTableKeyLines : public testing::TestWithParam<KeyLine> {};

TEST_P(AsciiTableKeyLines, MatchByteForByte) {
    const auto lines = asciiTableLines();
    const KeyLine& key = GetParam();
    ASSERT_LE(key.number, static_cast<int>(lines.size()));
    EXPECT_EQ(lines[key.number - 1], key.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AsciiTableKeyLines,
    testing::Values(
        // Codes 0 to 10 and 13 show the stand-in byte 0x0B.
        KeyLine{1,
                "\x0B 000 00|\x0B 001 01|\x0B 002 02|\x0B 003 03|\x0B 004 04|"
                "\x0B 005 05|\x0B 006 06|\x0B 007 07|\x0B 008 08|"},
        KeyLine{2,
                "\x0B 009 09|\x0B 010 0A|\x0B 011 0B|\x0C 012 0C|\x0B 013 0D|"
                "\x0E 014 0E|\x0F 015 0F|\x10 016 10|\x11 017 11|"},
        KeyLine{3,
                "\x12 018 12|\x13 019 13|\x14 020 14|\x15 021 15|\x16 022 16|"
                "\x17 023 17|\x18 024 18|\x19 025 19|\x1A 026 1A|"},
        KeyLine{4,
                "\x1B 027 1B|\x1C 028 1C|\x1D 029 1D|\x1E 030 1E|\x1F 031 1F|"
                "  032 20|! 033 21|\" 034 22|# 035 23|"},
        KeyLine{6, "- 045 2D|. 046 2E|/ 047 2F|0 048 30|1 049 31|2 050 32|3 051 33|4 052 34|5 053 35|"},
        KeyLine{15,
                "~ 126 7E|\x7F 127 7F|\x80 128 80|\x81 129 81|\x82 130 82|"
                "\x83 131 83|\x84 132 84|\x85 133 85|\x86 134 86|"},
        KeyLine{28,
                "\xF3 243 F3|\xF4 244 F4|\xF5 245 F5|\xF6 246 F6|\xF7 247 F7|"
                "\xF8 248 F8|\xF9 249 F9|\xFA 250 FA|\xFB 251 FB|"},
        KeyLine{29, "\xFC 252 FC|\xFD 253 FD|\xFE 254 FE|\xFF 255 FF|"}),
    [](const testing::TestParamInfo<KeyLine>& param) { return "Line" + std::to_string(param.param.number); });

TEST(AsciiTableLines, EveryCodeAppearsOnceInOrderWithMatchingHexadecimal) {
    int expected = 0;
    for (const std::string& line : asciiTableLines()) {
        ASSERT_EQ(line.size() % 9, 0u);
        for (size_t at = 0; at < line.size(); at += 9, ++expected) {
            const std::string cell = line.substr(at, 9);
            EXPECT_EQ(std::stoi(cell.substr(2, 3)), expected) << cell;
            EXPECT_EQ(std::stoi(cell.substr(6, 2), nullptr, 16), expected) << cell;
            EXPECT_EQ(cell[8], '|');
        }
    }
    EXPECT_EQ(expected, 256);
}

TEST(AsciiTableLines, NoLineHoldsALineBreak) {
    for (const std::string& line : asciiTableLines()) {
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(line.find('\r'), std::string::npos);
    }
}

}  // namespace
}  // namespace varelo
