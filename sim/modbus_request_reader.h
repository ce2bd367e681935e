#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/ascii_request_framer.h"
#include "sim/modbus_framing.h"
#include "sim/rtu_request_framer.h"
#include "sim/sim_time.h"

namespace varelo {

struct ModbusRequest {
    ModbusFraming framing = ModbusFraming::Rtu;
    std::string message;  // station, function, data; without the CRC or LRC
};

// Turns the bytes a slave receives into the requests they carry, in whichever
// framing each one comes: both framers read every byte, and the one that
// completes a frame takes it, clearing the other of the bytes it had taken for
// its own. Holds no I/O: bytes and the time come from the caller.
class ModbusRequestReader {
  public:
    explicit ModbusRequestReader(SimDuration rtuSilence);

    // Bytes received at `now`.
    std::vector<ModbusRequest> feed(std::string_view bytes, SimInstant now);

    // Time has passed without bytes: an RTU frame that only the silence ends.
    std::vector<ModbusRequest> expire(SimInstant now);

    // When expire() next has something to do.
    std::optional<SimInstant> nextDeadline() const { return rtu_.silenceEnds(); }

  private:
    AsciiRequestFramer ascii_;
    RtuRequestFramer rtu_;
};

}  // namespace varelo
