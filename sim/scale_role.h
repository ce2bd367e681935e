#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "sim/line_role.h"
#include "sim/weight_line.h"

namespace varelo {

// A scale that sends a weight line at a fixed period and ignores what it
// receives. Like a real scale it keeps no backlog: while the previous line has
// not gone out, the next one is skipped.
class ScaleRole final : public LineRole {
  public:
    ScaleRole(std::chrono::milliseconds period, std::function<CivilTime()> wallClock, std::uint32_t seed,
              OutputPacing pacing);

    void receive(std::string_view bytes, SimInstant now) override;
    void tick(SimInstant now) override;

  protected:
    std::optional<SimInstant> ownDeadline() const override { return nextLine_; }

  private:
    std::chrono::milliseconds period_;
    std::function<CivilTime()> wallClock_;
    WeightWalk weight_;
    std::optional<SimInstant> nextLine_;  // nothing before the first tick: the first line goes at once
};

}  // namespace varelo
