#pragma once

#include <string>

namespace varelo {

enum class ModbusFraming { Ascii, Rtu };

// A message (station, function, data) as it goes on the line: RTU adds the
// CRC-16; ASCII writes the message and its LRC as upper-case hexadecimal digits
// between ':' and CR LF. With `wrongCheck` the CRC or LRC is deliberately false.
std::string FrameModbusMessage(const std::string& message, ModbusFraming framing, bool wrongCheck = false);

}  // namespace varelo
