#pragma once

#include <string>

namespace varelo {

// The weight as the weight telegram shows it: 5 characters, right-justified,
// with a full stop whatever the regional separator, cut (not rounded) to one
// decimal: 23.4789 gives " 23.4".
std::string WeightTextFor(long double weight, const std::string& decimalSeparator);

}  // namespace varelo
