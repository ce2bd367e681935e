#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace varelo {

// A local date and time to the minute.
struct CivilTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
};

// A scale's weight line: "dd/mm/yyyy hh:mm", a blank, the weight cut (not
// rounded) to one decimal and right-aligned in 5 characters, " Kg", CR LF.
// 23.47 kg at 14:05 on 9 March 2025 gives "09/03/2025 14:05  23.4 Kg\r\n".
std::string BuildWeightLine(const CivilTime& time, double kilograms);

// A load on a scale that settles around 23.0 kg and wanders a little from
// reading to reading, as real goods on a real platform do. Repeatable for a seed.
class WeightWalk {
  public:
    explicit WeightWalk(std::uint32_t seed);
    double next();

  private:
    std::mt19937 random_;
    std::normal_distribution<double> step_;
    double kilograms_;
};

}  // namespace varelo
