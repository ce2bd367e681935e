#pragma once

#include <optional>
#include <string>

#include "sim/sim_time.h"

namespace varelo {

// The silence that ends an RTU frame: 3.5 characters of 11 bits at the line's
// rate, but never under 4 ms, because a pseudo-terminal or a USB adapter
// delivers bytes in bursts that no line rate predicts.
SimDuration RtuSilence(int baud);

// Picks RTU requests out of the received bytes. A frame ends as soon as it is
// whole: a function whose request length is known (1 to 8, 11, 12, 15, 16, 17)
// is taken the moment a frame of that length with a right CRC ends the buffer,
// so a request that arrives in pieces is answered without waiting for the
// silence, and noise before it is dropped. A frame of any other function ends at
// the silence and counts if its CRC is right. Whatever is left at the silence is
// dropped: a bad CRC, a truncated request or noise get no answer.
class RtuRequestFramer {
  public:
    explicit RtuRequestFramer(SimDuration silence);

    // The message (station, function, data; the CRC removed) when `byte`,
    // received at `now`, completes a good frame. Call expire() first whenever
    // time has passed since the last byte.
    std::optional<std::string> push(char byte, SimInstant now);

    // At the end of the silence: the message of a frame that only the silence
    // ends, if it is good; the buffer is emptied either way.
    std::optional<std::string> expire(SimInstant now);

    // When the silence after the last byte ends, while bytes are waiting.
    std::optional<SimInstant> silenceEnds() const;

    void reset();

  private:
    std::optional<std::string> wholeFrameEndingHere() const;

    SimDuration silence_;
    std::string buffer_;
    bool overflowed_ = false;  // too long for any frame: drop bytes until the silence
    SimInstant lastByte_{};
};

}  // namespace varelo
