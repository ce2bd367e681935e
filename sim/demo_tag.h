#pragma once

#include <cstdint>
#include <string>

namespace varelo {

// The memory of the demonstration tag that station 1 holds in its holding
// registers 0 to 127: 256 bytes, sixteen lines of sixteen readable characters,
// so that a tag map shows it as text.
const std::string& DemoTagImage();

// Register i of the tag holds image bytes 2i (low byte) and 2i + 1 (high byte).
// MODBUS sends the high byte first and the reader swaps each pair back, so its
// map holds the image as it is here.
std::uint16_t DemoTagRegister(int index);

}  // namespace varelo
