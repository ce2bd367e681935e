#include "app/monitor/byte_rendering.h"

#include "app/monitor/time_stamp.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

constexpr DisplayMode AsciiHexa{false, false};
constexpr DisplayMode CtrlAsciiHexa{false, true};
constexpr DisplayMode Hexa{true, false};

struct ByteCase {
    unsigned char byte;
    const char* asciiHexa;
    const char* ctrlAsciiHexa;
    const char* hexa;
};

TEST(ByteRendering, EachModeShowsTheBoundaryBytesByItsRule) {
    const ByteCase cases[] = {
        {0x00, "(00)", "<NUL>", "(00)"}, {0x09, "(09)", "<SH>", "(09)"}, {0x0B, "(0B)", "<VT>", "(0B)"},
        {0x0D, "(0D)", "<CR>", "(0D)"},  {0x1F, "(1F)", "<US>", "(1F)"}, {0x20, " ", " ", "(20)"},
        {0x41, "A", "A", "(41)"},        {0x7F, "\x7F", "\x7F", "(7F)"}, {0xAF, "\xAF", "\xAF", "(AF)"},
        {0xB0, "(B0)", "(B0)", "(B0)"},  {0xFF, "(FF)", "(FF)", "(FF)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byte));
        EXPECT_EQ(RenderByte(c.byte, AsciiHexa), c.asciiHexa);
        EXPECT_EQ(RenderByte(c.byte, CtrlAsciiHexa), c.ctrlAsciiHexa);
        EXPECT_EQ(RenderByte(c.byte, Hexa), c.hexa);
        EXPECT_EQ(ShownAsItself(c.byte, AsciiHexa), RenderByte(c.byte, AsciiHexa).size() == 1);
        EXPECT_EQ(ShownAsItself(c.byte, CtrlAsciiHexa), RenderByte(c.byte, CtrlAsciiHexa).size() == 1);
        EXPECT_FALSE(ShownAsItself(c.byte, Hexa));
    }
}

TEST(ByteRendering, HexaIgnoresTheCtrlFlag) {
    EXPECT_EQ(RenderByte(0x0D, {true, true}), "(0D)");
}

TEST(ByteRendering, ABlockIsTheRenderingOfItsBytesInOrder) {
    const std::string block("AB\r\n", 4);
    EXPECT_EQ(RenderBlock(block, AsciiHexa), "AB(0D)(0A)");
    EXPECT_EQ(RenderBlock(block, CtrlAsciiHexa), "AB<CR><LF>");
    EXPECT_EQ(RenderBlock(block, Hexa), "(41)(42)(0D)(0A)");
    EXPECT_EQ(RenderBlock(std::string(1, '\0'), CtrlAsciiHexa), "<NUL>");
    EXPECT_EQ(RenderBlock("", Hexa), "");
}

TEST(ByteRendering, NoRenderingOfAnyByteHoldsALineEnd) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    for (const DisplayMode mode : {AsciiHexa, CtrlAsciiHexa, Hexa}) {
        const std::string rendered = RenderBlock(all, mode);
        EXPECT_EQ(rendered.find_first_of("\r\n"), std::string::npos);
    }
}

TEST(ByteRendering, RenderingIntoAUsedStringReplacesItsContent) {
    std::string out = "previous block, much longer than the next one";
    RenderBlockInto(out, "\x01Z", CtrlAsciiHexa);
    EXPECT_EQ(out, "<SOH>Z");
}

TEST(TimeStamp, TimeOfDayWithoutLeadingZerosInTwelveCharactersThenArrow) {
    const struct {
        TimeOfDay time;
        const char* stamp;
    } cases[] = {
        {{14, 30, 5, 250}, "14:30:5:250 ->"},
        {{9, 5, 3, 7}, "9:5:3:7     ->"},
        {{0, 0, 0, 0}, "0:0:0:0     ->"},
        {{23, 59, 59, 999}, "23:59:59:999->"},
    };
    for (const auto& c : cases) EXPECT_EQ(TimeStampText(c.time), c.stamp);
}

}  // namespace
}  // namespace varelo
