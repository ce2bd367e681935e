#pragma once

#include "sim/line_role.h"

namespace varelo {

// A loop-back plug: every byte received goes straight back.
class LoopRole final : public LineRole {
  public:
    explicit LoopRole(OutputPacing pacing) : LineRole(pacing) {}

    void receive(std::string_view bytes, SimInstant now) override {
        output().sendPaced(std::string(bytes), now);
    }
    void tick(SimInstant /*now*/) override {}

  protected:
    std::optional<SimInstant> ownDeadline() const override { return std::nullopt; }
};

}  // namespace varelo
