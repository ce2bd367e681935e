#include "sim/scale_role.h"

#include <algorithm>

namespace varelo {

ScaleRole::ScaleRole(std::chrono::milliseconds period, std::function<CivilTime()> wallClock,
                     std::uint32_t seed, OutputPacing pacing)
    : LineRole(pacing),
      period_(std::max(period, std::chrono::milliseconds(1))),
      wallClock_(std::move(wallClock)),
      weight_(seed) {}

void ScaleRole::receive(std::string_view /*bytes*/, SimInstant /*now*/) {}

void ScaleRole::tick(SimInstant now) {
    if (nextLine_ && now < *nextLine_) return;
    const std::string line = BuildWeightLine(wallClock_(), weight_.next());
    if (pendingOutput() == 0) output().sendPaced(line, now);
    // After a stall (a suspended process), the period starts again from now
    // rather than sending the missed lines in a burst.
    nextLine_ = nextLine_ && now - *nextLine_ < period_ ? *nextLine_ + period_ : now + period_;
}

}  // namespace varelo
