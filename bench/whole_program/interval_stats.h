#pragma once

#include <algorithm>
#include <vector>

namespace varelo::bench {

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// The median of the first and of the last third of a series.
inline double MedianOfFirstThird(const std::vector<double>& values) {
    return Median({values.begin(), values.begin() + static_cast<long>(values.size() / 3)});
}
inline double MedianOfLastThird(const std::vector<double>& values) {
    return Median({values.end() - static_cast<long>(values.size() / 3), values.end()});
}

}  // namespace varelo::bench
