#pragma once

#include <optional>
#include <string>

#include "sim/slave_memory.h"

namespace varelo {

// Exception codes of the MODBUS standard that the simulated slaves give.
enum class ModbusException : unsigned char {
    IllegalFunction = 1,
    IllegalDataAddress = 2,
    IllegalDataValue = 3,
};

// The answer of the served stations to one request message (station, function,
// data; its check already verified and removed), as a message without its check.
// Nothing when no slave answers: another station, a broadcast (station 0; its
// writes still act on every served station), or a message too short to carry a
// function.
//
// Functions: 1 and 2 read coils and discrete inputs, 3 and 4 holding and input
// registers, 5 and 6 write one coil or register and echo the request, 17
// reports the slave id ("VARELO-SIM <station>", running); any other function
// gets the exception "illegal function".
std::optional<std::string> AnswerRequest(const std::string& message, StationRange stations,
                                         SlaveMemory& memory);

}  // namespace varelo
