#include "util/cp1252.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

TEST(Cp1252, TurnsBytesIntoUnicodeAndBack) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x80", "\u20AC"},  // €
        {"\xFE", "\u00FE"},  // þ
        {"\xB4", "\u00B4"},  // ´
        {"A", "A"},
    };
    for (const auto& [bytes, utf8] : cases) {
        EXPECT_EQ(cp1252ToUtf8(bytes), utf8);
        EXPECT_EQ(utf8ToCp1252(utf8), bytes);
    }
    const std::string all = "\x80\xFE\xB4 ok";
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

}  // namespace
}  // namespace varelo
