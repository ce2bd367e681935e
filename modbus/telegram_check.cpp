#include "modbus/telegram_check.h"

#include "modbus/hex_text.h"
#include "modbus/modbus_frame.h"

namespace varelo {
namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == ':' || c == '-' || c == ',';
}

}  // namespace

std::optional<AppendedCheck> ParseAppendedCheck(std::string_view name) {
    if (name == "crc16") return AppendedCheck::Crc16;
    if (name == "lrc") return AppendedCheck::Lrc;
    if (name == "sum8") return AppendedCheck::Sum8;
    if (name == "xor8") return AppendedCheck::Xor8;
    if (name == "none") return AppendedCheck::None;
    return std::nullopt;
}

HexBytes ParseHexBytes(std::string_view text) {
    HexBytes out;
    int high = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (high < 0 && c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            ++i;
            continue;
        }
        if (isSeparator(c)) {
            if (high >= 0) {
                out.error = "a lone digit before position " + std::to_string(i + 1);
                return out;
            }
            continue;
        }
        const int value = HexDigitValue(c);
        if (value < 0) {
            out.error = "'" + std::string(1, c) + "' at position " + std::to_string(i + 1) + " is no hexadecimal digit";
            return out;
        }
        if (high < 0) {
            high = value;
        } else {
            out.bytes += static_cast<char>(high << 4 | value);
            high = -1;
        }
    }
    if (high >= 0) out.error = "an odd number of hexadecimal digits";
    else if (out.bytes.empty()) out.error = "no bytes";
    return out;
}

std::string AppendCheck(std::string bytes, AppendedCheck check) {
    switch (check) {
        case AppendedCheck::Crc16:
            return bytes + ModbusCrc16(bytes);
        case AppendedCheck::Lrc:
            return bytes + ModbusLrc(bytes);
        case AppendedCheck::Sum8:
        case AppendedCheck::Xor8: {
            unsigned value = 0;
            for (const unsigned char b : bytes) value = check == AppendedCheck::Sum8 ? value + b : value ^ b;
            return bytes + static_cast<char>(value & 0xFF);
        }
        case AppendedCheck::None:
            return bytes;
    }
    return bytes;
}

std::string TelegramToSend(const std::string& bytes, AppendedCheck check, bool asciiFraming) {
    const std::string checked = AppendCheck(bytes, check);
    if (!asciiFraming) return checked;
    return ":" + HexBytesText(checked) + "\r\n";
}

}  // namespace varelo
