#pragma once

#include <cstdint>

namespace varelo {

// Uniform pseudo-random numbers from a fixed seed: every run, and every fresh
// source, yields the same sequence, so the weight telegram repeats run to run.
class RandomSource {
  public:
    RandomSource() = default;

    // The next number in [0, 1), with 53 random bits.
    double uniform();

  private:
    std::uint64_t state_ = 1;  // the fixed seed
};

// A normally distributed number (Marsaglia's polar method) from `source`.
long double GaussRandom(RandomSource& source, long double mean, long double deviation);

}  // namespace varelo
