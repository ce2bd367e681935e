// The scale role's weight lines.

#include <gtest/gtest.h>

#include <regex>

#include "sim/scale_role.h"
#include "sim/tests/bus_exchange.h"
#include "sim/weight_line.h"

namespace varelo::test {
namespace {

struct WeightCase {
    double kilograms;
    const char* line;
};

class WeightLine : public ::testing::TestWithParam<WeightCase> {};

TEST_P(WeightLine, HasTheTelegramLayout) {
    EXPECT_EQ(BuildWeightLine(CivilTime{2025, 3, 9, 14, 5}, GetParam().kilograms), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Weights, WeightLine,
                         ::testing::Values(WeightCase{23.47,
                                                      "09/03/2025 14:05  23.4 Kg\r\n"},  // cut, not rounded
                                           WeightCase{23.0, "09/03/2025 14:05  23.0 Kg\r\n"},
                                           WeightCase{22.99, "09/03/2025 14:05  22.9 Kg\r\n"},
                                           WeightCase{7.25, "09/03/2025 14:05   7.2 Kg\r\n"},
                                           WeightCase{123.45, "09/03/2025 14:05 123.4 Kg\r\n"},
                                           WeightCase{-1.0, "09/03/2025 14:05   0.0 Kg\r\n"},
                                           WeightCase{5000.0, "09/03/2025 14:05 999.9 Kg\r\n"}));

TEST(WeightWalk, WandersCloseAroundTwentyThreeKilograms) {
    WeightWalk walk(42);
    double lightest = 1e9, heaviest = 0, sum = 0;
    bool changes = false;
    double previous = walk.next();
    for (int i = 0; i < 5000; ++i) {
        const double w = walk.next();
        lightest = std::min(lightest, w);
        heaviest = std::max(heaviest, w);
        sum += w;
        changes = changes || w != previous;
        previous = w;
    }
    EXPECT_TRUE(changes);
    EXPECT_GT(lightest, 21.5);
    EXPECT_LT(heaviest, 24.5);
    EXPECT_NEAR(sum / 5000, 23.0, 0.1);
}

CivilTime fixedTime() {
    return {2025, 12, 31, 23, 59};
}

TEST(ScaleRole, SendsALineAtOnceAndThenEveryPeriod) {
    ScaleRole scale(1000ms, fixedTime, 7, {});
    const std::regex layout("31/12/2025 23:59 [ 0-9]{3}\\.[0-9] Kg\r\n");
    scale.tick(at(0ms));
    EXPECT_TRUE(std::regex_match(scale.takeDue(at(0ms)), layout));
    EXPECT_EQ(scale.nextWakeUp(), at(1000ms));
    scale.tick(at(999ms));
    EXPECT_EQ(scale.takeDue(at(999ms)), "");
    scale.tick(at(1003ms));
    EXPECT_TRUE(std::regex_match(scale.takeDue(at(1003ms)), layout));
    EXPECT_EQ(scale.nextWakeUp(), at(2000ms)) << "the period does not drift with a late tick";
}

// Nobody reads the line: the scale does not pile up lines, it skips them.
TEST(ScaleRole, KeepsNoBacklog) {
    ScaleRole scale(100ms, fixedTime, 7, {});
    for (int ms = 0; ms <= 1000; ms += 100) scale.tick(at(std::chrono::milliseconds(ms)));
    EXPECT_EQ(scale.pendingOutput(), 27u);
}

TEST(ScaleRole, IgnoresWhatItReceives) {
    ScaleRole scale(1000ms, fixedTime, 7, {});
    scale.receive("TARE\r\n", at(0ms));
    EXPECT_EQ(scale.pendingOutput(), 0u);
}

}  // namespace
}  // namespace varelo::test
