#include "util/integer_text.h"

#include "util/run_time_errors.h"

#include <gtest/gtest.h>

#include <string>

namespace varelo {
namespace {

TEST(StrToInt, AcceptsASignedDecimalIn32Bits) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"0", 0},
        {"00", 0},
        {"-05", -5},
        {"+7", 7},
        {"247", 247},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-0", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(StrToInt(text), value) << '"' << text << '"';
}

TEST(StrToInt, RefusesAnythingElseNamingTheText) {
    const std::string refused[] = {"",    "+",    "-",   "12 ",        " 12",         "1 2",
                                   "1x",  "0x10", "--5", "2147483648", "-2147483649", "99999999999999999999",
                                   "\t1", "1.0"};
    for (const auto& text : refused) {
        try {
            StrToInt(text);
            ADD_FAILURE() << '"' << text << "\" was accepted";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace varelo
