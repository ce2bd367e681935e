#pragma once

#include "platform/clock.h"

#include <string>

namespace varelo {

// The arrival time shown after a received header: hour:minute:second:millisecond
// without leading zeros, left-justified in 12 characters, then "->".
// 9 h 5 min 3 s 7 ms gives "9:5:3:7     ->"; the stamp is always 14 characters.
std::string TimeStampText(const TimeOfDay& time);

}  // namespace varelo
