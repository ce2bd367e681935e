#include "sim/weight_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace varelo {

namespace {

constexpr double kSettledWeight = 23.0;
constexpr double kPull = 0.2;        // share of the distance back to the settled weight per reading
constexpr double kWander = 0.15;     // kg, standard deviation of one reading's change
constexpr double kHeaviest = 999.9;  // the most that fits the 5-character field

}  // namespace

std::string BuildWeightLine(const CivilTime& time, double kilograms) {
    const double tenths = std::floor(std::clamp(kilograms, 0.0, kHeaviest) * 10.0 + 1e-9);
    char line[64];
    std::snprintf(line, sizeof line, "%02d/%02d/%04d %02d:%02d %5.1f Kg\r\n", time.day, time.month, time.year,
                  time.hour, time.minute, tenths / 10.0);
    return line;
}

WeightWalk::WeightWalk(std::uint32_t seed) : random_(seed), step_(0.0, kWander), kilograms_(kSettledWeight) {}

double WeightWalk::next() {
    kilograms_ += kPull * (kSettledWeight - kilograms_) + step_(random_);
    kilograms_ = std::clamp(kilograms_, 0.0, kHeaviest);
    return kilograms_;
}

}  // namespace varelo
