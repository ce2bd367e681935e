#pragma once

#include <cstdint>
#include <string>

namespace varelo {

// The number of stations from the answer typed into a poll command's input box:
// the answer is cleaned (CleanIntegerText); exactly "0" stands for the default
// of 6 stations, anything else is converted and may throw ConversionError.
// No lower bound: 0 or less makes every poll go to station 1.
std::int32_t StationCountFromAnswer(const std::string& answer);

// The same for MODBUS polls, which address at most 247 stations.
std::int32_t ModbusStationCountFromAnswer(const std::string& answer);

}  // namespace varelo
