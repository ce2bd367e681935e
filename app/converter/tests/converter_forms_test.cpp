#include "app/converter/converter_forms.h"

#include <gtest/gtest.h>

#include <iterator>

namespace varelo {
namespace {

// The filter looks at the field's text as it shrinks: a character that is not
// hexadecimal takes the last character away, wherever it stands.
TEST(HexFilter, DropsTheLastCharacterForEachPositionThatFails) {
    struct Case {
        std::u32string field;
        std::u32string kept;
        std::string digits;
    };
    const Case cases[] = {
        {U"09AF", U"09AF", "09AF"},
        {U"4G", U"4", "4"},  // typed at the end: the G goes
        {U"G", U"", ""},
        {U"4G5", U"4", "4"},      // typed in the middle: the 5 goes, then the G
        {U"G45", U"G", "4"},      // at the front: the 5 and the 4 go, the G stays
        {U"a1", U"", ""},         // lower case is not a digit here
        {U"4\u00C9", U"4", "4"},  // one position per character, not per byte
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const HexFilterResult result = filterHexField(cases[i].field);
        EXPECT_TRUE(result.field == cases[i].kept) << "case " << i;
        EXPECT_EQ(result.digits, cases[i].digits) << "case " << i;
    }
}

}  // namespace
}  // namespace varelo
