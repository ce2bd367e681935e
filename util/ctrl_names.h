#pragma once

#include <array>
#include <string_view>

namespace varelo {

// How a byte below 32 is named in the views and the number converter. Code 9 is
// "<SH>" throughout the program, not the usual HT.
extern const std::array<std::string_view, 32> CtrlNames;

}  // namespace varelo
