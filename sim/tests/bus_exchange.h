#pragma once

#include <chrono>
#include <string>

#include "modbus/modbus_frame.h"
#include "sim/bus_role.h"

namespace varelo::test {

using namespace std::chrono_literals;

inline SimInstant at(std::chrono::milliseconds ms) {
    return SimInstant{} + ms;
}

// A bus on a clock that the test moves by hand.
struct BusOnClock {
    explicit BusOnClock(BusOptions options = {}, OutputPacing pacing = {}) : bus(options, pacing) {}

    // The bytes arrive at once; then a quiet 50 ms, long enough to end any
    // RTU frame. Returns whatever the bus sent meanwhile.
    std::string exchange(const std::string& bytes) {
        bus.receive(bytes, now);
        std::string sent = bus.takeDue(now);
        now += 50ms;
        bus.tick(now);
        return sent + bus.takeDue(now);
    }

    BusRole bus;
    SimInstant now = at(1000ms);
};

// An answer frame taken apart: its message and whether its CRC or LRC holds.
struct OpenedAnswer {
    std::string message;
    bool checkRight = false;
};

inline int hexDigit(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

inline OpenedAnswer openRtu(const std::string& frame) {
    if (frame.size() < 4) return {};
    std::string message = frame.substr(0, frame.size() - 2);
    return {message, ModbusCrc16(message) == frame.substr(frame.size() - 2)};
}

inline OpenedAnswer openAscii(const std::string& frame) {
    if (frame.size() < 7 || frame.front() != ':' || frame.substr(frame.size() - 2) != "\r\n") return {};
    std::string bytes;
    for (std::size_t i = 1; i + 3 < frame.size(); i += 2)
        bytes += static_cast<char>(hexDigit(frame[i]) << 4 | hexDigit(frame[i + 1]));
    std::string message = bytes.substr(0, bytes.size() - 1);
    return {message, ModbusLrc(message) == bytes.substr(bytes.size() - 1)};
}

inline OpenedAnswer openAnswer(const std::string& frame, const std::string& framing) {
    return framing == "RTU" ? openRtu(frame) : openAscii(frame);
}

}  // namespace varelo::test
