#include "util/gauss_random.h"

#include <cmath>

namespace varelo {

double RandomSource::uniform() {
    // SplitMix64: tiny, fast, and the same on every platform and library.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

long double GaussRandom(RandomSource& source, long double mean, long double deviation) {
    long double x = 0;
    long double s = 0;
    do {
        x = 2.0L * source.uniform() - 1.0L;
        const long double y = 2.0L * source.uniform() - 1.0L;
        s = x * x + y * y;
    } while (s >= 1.0L || s == 0.0L);
    return mean + deviation * x * std::sqrt(-2.0L * std::log(s) / s);
}

}  // namespace varelo
