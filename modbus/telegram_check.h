#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varelo {

// The check appended to a telegram typed in hexadecimal before it is sent.
enum class AppendedCheck { Crc16, Lrc, Sum8, Xor8, None };

// "crc16", "lrc", "sum8", "xor8", "none".
std::optional<AppendedCheck> ParseAppendedCheck(std::string_view name);

struct HexBytes {
    std::string bytes;
    std::string error;  // empty when the text was good
};

// "01 03 00 00 00 0A" as its bytes; blanks, ':' and '-' between digit pairs
// are allowed, so are "0x" prefixes. Refused with a reason: a character that
// is no digit, an odd number of digits, no digits at all.
HexBytes ParseHexBytes(std::string_view text);

// The bytes with their check: the MODBUS CRC-16 (low byte first), the MODBUS
// LRC, the sum of the bytes modulo 256, or their exclusive or.
std::string AppendCheck(std::string bytes, AppendedCheck check);

// What goes on the line: the bytes with their check; in ASCII framing the two
// written as upper-case hexadecimal digits between ':' and CR LF (with the LRC,
// a MODBUS ASCII frame).
std::string TelegramToSend(const std::string& bytes, AppendedCheck check, bool asciiFraming);

}  // namespace varelo
