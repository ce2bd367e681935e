#include "sim/modbus_framing.h"

#include "modbus/modbus_frame.h"

namespace varelo {

namespace {

std::string upperHex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace

std::string FrameModbusMessage(const std::string& message, ModbusFraming framing, bool wrongCheck) {
    std::string check = framing == ModbusFraming::Rtu ? ModbusCrc16(message) : ModbusLrc(message);
    if (wrongCheck) check[0] = static_cast<char>(check[0] ^ 0xFF);
    if (framing == ModbusFraming::Rtu) return message + check;
    return ":" + upperHex(message + check) + "\r\n";
}

}  // namespace varelo
