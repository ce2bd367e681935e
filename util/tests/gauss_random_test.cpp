#include "util/gauss_random.h"

#include <gtest/gtest.h>

#include <cmath>

namespace varelo {
namespace {

TEST(RandomSource, EveryFreshSourceGivesTheSameSequenceInTheUnitInterval) {
    RandomSource a;
    RandomSource b;
    double lowest = 1;
    double highest = 0;
    for (int i = 0; i < 10000; ++i) {
        const double u = a.uniform();
        ASSERT_EQ(u, b.uniform());
        lowest = std::min(lowest, u);
        highest = std::max(highest, u);
    }
    EXPECT_GE(lowest, 0.0);
    EXPECT_LT(highest, 1.0);
    EXPECT_LT(lowest, 0.01);
    EXPECT_GT(highest, 0.99);
}

TEST(GaussRandom, RepeatsFromAFreshSourceAndHasTheAskedMeanAndDeviation) {
    RandomSource first;
    RandomSource second;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(GaussRandom(first, 23.0L, 0.63455L), GaussRandom(second, 23.0L, 0.63455L));
    }

    RandomSource source;
    constexpr int kDraws = 20000;
    long double sum = 0;
    long double squares = 0;
    for (int i = 0; i < kDraws; ++i) {
        const long double g = GaussRandom(source, 23.0L, 0.63455L);
        sum += g;
        squares += g * g;
    }
    const long double mean = sum / kDraws;
    const long double deviation = std::sqrt(squares / kDraws - mean * mean);
    EXPECT_NEAR(static_cast<double>(mean), 23.0, 0.02);
    EXPECT_NEAR(static_cast<double>(deviation), 0.63455, 0.02);
}

TEST(GaussRandom, ZeroDeviationGivesTheMean) {
    RandomSource source;
    EXPECT_EQ(GaussRandom(source, 5.5L, 0.0L), 5.5L);
}

}  // namespace
}  // namespace varelo
