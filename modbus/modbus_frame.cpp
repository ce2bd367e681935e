#include "modbus/modbus_frame.h"

#include "modbus/hex_text.h"

#include <array>

namespace varelo {
namespace {

// The CRC-16 (polynomial A001, reflected) of every byte value, so that a byte
// costs one look-up instead of eight shifts.
constexpr std::array<std::uint16_t, 256> crcTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned value = 0; value < 256; ++value) {
        std::uint16_t crc = static_cast<std::uint16_t>(value);
        for (int bit = 0; bit < 8; ++bit) crc = static_cast<std::uint16_t>(crc & 1 ? (crc >> 1) ^ 0xA001 : crc >> 1);
        table[value] = crc;
    }
    return table;
}
constexpr std::array<std::uint16_t, 256> kCrcTable = crcTable();

char lowByte(std::int32_t value) {
    return static_cast<char>(value & 0xFF);
}
char highByte(std::int32_t value) {
    return static_cast<char>((value >> 8) & 0xFF);
}

std::string modbusMessage(std::int32_t station, std::int32_t function, std::int32_t address,
                          std::int32_t quantity) {
    // The code is the 16-bit argument, so a code above 255 is not mistaken for its low byte.
    switch (function & 0xFFFF) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
            return {lowByte(station), lowByte(function),  highByte(address),
                    lowByte(address), highByte(quantity), lowByte(quantity)};
        case 7:
        case 8:
        case 11:
        case 12:
        case 17:
            return {lowByte(station), lowByte(function)};
        default:
            return {};
    }
}

}  // namespace

std::string BuildModbusFrame(std::int32_t station, std::int32_t function, std::int32_t address,
                             std::int32_t quantity, const std::string& framing) {
    const std::string message = modbusMessage(station, function, address, quantity);
    if (framing == "RTU") return message + ModbusCrc16(message);
    return ":" + HexBytesText(message + ModbusLrc(message)) + "\r\n";
}

std::string ModbusCrc16(std::string_view bytes) {
    std::uint16_t crc = 0xFFFF;
    for (const unsigned char b : bytes) crc = static_cast<std::uint16_t>(crc >> 8 ^ kCrcTable[(crc ^ b) & 0xFF]);
    return {static_cast<char>(crc & 0xFF), static_cast<char>(crc >> 8)};
}

std::string ModbusLrc(std::string_view bytes) {
    unsigned sum = 0;
    for (const unsigned char b : bytes) sum += b;
    return std::string(1, static_cast<char>((0x100 - (sum & 0xFF)) & 0xFF));
}

}  // namespace varelo
