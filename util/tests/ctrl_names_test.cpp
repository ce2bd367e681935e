#include "util/ctrl_names.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

TEST(CtrlNames, NamesEachControlCodeInAngleBrackets) {
    EXPECT_EQ(CtrlNames[0], "<NUL>");
    EXPECT_EQ(CtrlNames[9], "<SH>");
    EXPECT_EQ(CtrlNames[11], "<VT>");
    EXPECT_EQ(CtrlNames[13], "<CR>");
    EXPECT_EQ(CtrlNames[31], "<US>");
    for (const auto name : CtrlNames) {
        EXPECT_LE(name.size(), 5u) << name;
        EXPECT_EQ(name.front(), '<');
        EXPECT_EQ(name.back(), '>');
    }
}

}  // namespace
}  // namespace varelo
