#pragma once

#include "serial/device_control.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varelo {

enum class TraceParity : std::uint8_t { None, Odd, Even, Mark, Space };
enum class TraceStop : std::uint8_t { One, OneAndHalf, Two };
enum class TraceFlow : std::uint8_t { None, RtsCts, XonXoff };

// One line's settings as varelo-trace opens it.
struct LineFormat {
    std::uint32_t baud = 9600;
    int dataBits = 8;
    TraceParity parity = TraceParity::None;
    TraceStop stop = TraceStop::One;
    TraceFlow flow = TraceFlow::None;
    bool dtr = true;  // the levels the kernel sets when a device opens
    bool rts = true;

    bool operator==(const LineFormat&) const = default;
};

// "9600", "9600,8E1", "19200,7O2", "2400,5N1.5": the rate, then data bits, parity
// (N O E M S) and stop bits; nothing when the text is none of these.
std::optional<LineFormat> ParseSettingString(std::string_view text);
// The short form back: "9600,8E1".
std::string SettingString(const LineFormat& format);

// Nanoseconds one character takes on the line: start, data, parity and stop bits.
double CharacterNanoseconds(const LineFormat& format);

// The device control values for opening the line through the device layer.
DeviceControl DeviceControlFor(const LineFormat& format);

}  // namespace varelo
