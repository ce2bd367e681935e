#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "sim/sim_time.h"

namespace varelo {

// How a simulated device times what it sends, to stand in for slow or
// choppy equipment.
struct OutputPacing {
    std::chrono::milliseconds delay{0};  // before the first byte of each answer
    std::size_t pieceSize = 0;           // an answer goes out in pieces of this many bytes; 0: whole
    std::chrono::milliseconds pieceGap{0};
};

// The bytes a simulated device has to send, each with the instant it is due.
// Paced answers go out in order, one after the other, never overlapping.
class OutputQueue {
  public:
    explicit OutputQueue(OutputPacing pacing = {});

    // Bytes that go out at once, ahead of paced answers not yet due (the echo
    // of a two-wire line).
    void sendNow(std::string bytes, SimInstant now);
    // An answer, delayed and cut into pieces as the pacing says.
    void sendPaced(const std::string& bytes, SimInstant now);

    // Everything due by `now`, in order; it leaves the queue.
    std::string takeDue(SimInstant now);
    std::optional<SimInstant> nextDue() const;
    std::size_t pendingBytes() const;

  private:
    struct Piece {
        SimInstant due;
        std::string bytes;
    };
    void insert(Piece piece);

    OutputPacing pacing_;
    std::deque<Piece> pieces_;  // in order of due instants
    SimInstant pacedFree_{};    // when the last paced piece is due
};

}  // namespace varelo
