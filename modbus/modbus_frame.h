#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varelo {

// A MODBUS/JBUS request as the master sends it. Station and function go out as
// their low 8 bits, address and quantity as their low 16 bits, high byte first.
// Function codes 1 to 6 carry station, function, address and quantity (for 5 and
// 6 the quantity is the value to write); 7, 8, 11, 12 and 17 carry station and
// function only; any other code gives an empty message, which still gets its check.
//
// Exactly "RTU" selects the RTU framing: the message and its CRC-16. Any other
// text selects ASCII: ':', the message and its LRC as upper-case hexadecimal
// digits, then CR LF.
std::string BuildModbusFrame(std::int32_t station, std::int32_t function, std::int32_t address,
                             std::int32_t quantity, const std::string& framing);

// The MODBUS CRC-16 of the bytes, as the two bytes it is sent as: low, then high.
std::string ModbusCrc16(std::string_view bytes);

// The MODBUS LRC of the bytes: one byte, the two's complement of their sum.
std::string ModbusLrc(std::string_view bytes);

}  // namespace varelo
