#pragma once

#include <chrono>

namespace varelo {

// The simulator's logic never reads a clock: the caller hands it the current
// instant, so tests can play out any timing without waiting.
using SimInstant = std::chrono::steady_clock::time_point;
using SimDuration = std::chrono::steady_clock::duration;

}  // namespace varelo
