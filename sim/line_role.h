#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "sim/output_queue.h"
#include "sim/sim_time.h"

namespace varelo {

// The device a simulator plays at the far end of a line: bytes received and the
// passing of time go in, bytes to send come out. No I/O, no clock: the caller
// supplies both, so every role runs the same under a test as on a line.
class LineRole {
  public:
    explicit LineRole(OutputPacing pacing) : output_(pacing) {}
    virtual ~LineRole() = default;
    LineRole(const LineRole&) = delete;
    LineRole& operator=(const LineRole&) = delete;

    virtual void receive(std::string_view bytes, SimInstant now) = 0;
    // Time has passed; called at least by nextWakeUp().
    virtual void tick(SimInstant now) = 0;

    // The bytes due to be sent by `now`; they leave the role.
    std::string takeDue(SimInstant now) { return output_.takeDue(now); }
    std::size_t pendingOutput() const { return output_.pendingBytes(); }
    // When the role next wants tick() or has bytes due; nothing while it only waits for input.
    std::optional<SimInstant> nextWakeUp() const;

  protected:
    // The role's own next deadline, apart from its output.
    virtual std::optional<SimInstant> ownDeadline() const = 0;
    OutputQueue& output() { return output_; }

  private:
    OutputQueue output_;
};

}  // namespace varelo
