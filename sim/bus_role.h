#pragma once

#include "sim/line_role.h"
#include "sim/modbus_request_reader.h"
#include "sim/slave_memory.h"

namespace varelo {

struct BusOptions {
    StationRange stations;
    int baud = 9600;          // sets the silence that ends an RTU frame
    int wrongCheckEvery = 0;  // every N-th answer carries a false CRC or LRC; 0: never
    bool silent = false;      // requests still act, but nothing is answered
    bool echo = false;        // every byte received comes straight back, as on a two-wire RS-485 line
};

// MODBUS slaves at a range of stations on one line. Each request is answered
// in the framing it came in; requests that are garbled, truncated or for other
// stations get no answer, and the bus goes on serving.
class BusRole final : public LineRole {
  public:
    BusRole(BusOptions options, OutputPacing pacing);

    void receive(std::string_view bytes, SimInstant now) override;
    void tick(SimInstant now) override;

    const SlaveMemory& memory() const { return memory_; }

  protected:
    std::optional<SimInstant> ownDeadline() const override { return reader_.nextDeadline(); }

  private:
    void answer(const std::vector<ModbusRequest>& requests, SimInstant now);

    BusOptions options_;
    ModbusRequestReader reader_;
    SlaveMemory memory_;
    long answersSent_ = 0;
};

}  // namespace varelo
