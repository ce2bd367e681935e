#include "sim/ascii_request_framer.h"

#include "modbus/modbus_frame.h"

namespace varelo {

namespace {

// The standard's longest ASCII frame is 513 characters, ':' and CR LF included.
constexpr std::size_t kMaxFrameText = 512;

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The bytes that the digits stand for, or nothing if they are not pairs of hex digits.
std::optional<std::string> decodeHex(const std::string& digits) {
    if (digits.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexValue(digits[i]);
        const int low = hexValue(digits[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high << 4 | low);
    }
    return bytes;
}

}  // namespace

void AsciiRequestFramer::reset() {
    inFrame_ = false;
    text_.clear();
}

std::optional<std::string> AsciiRequestFramer::push(char byte) {
    if (byte == ':') {
        inFrame_ = true;
        text_.clear();
        return std::nullopt;
    }
    if (!inFrame_) return std::nullopt;
    if (byte != '\n') {
        text_ += byte;
        if (text_.size() > kMaxFrameText) reset();
        return std::nullopt;
    }
    const std::string text = std::move(text_);
    reset();
    if (text.empty() || text.back() != '\r') return std::nullopt;
    std::optional<std::string> bytes = decodeHex(text.substr(0, text.size() - 1));
    if (!bytes || bytes->size() < 3) return std::nullopt;
    std::string message = bytes->substr(0, bytes->size() - 1);
    if (ModbusLrc(message) != bytes->substr(bytes->size() - 1)) return std::nullopt;
    return message;
}

}  // namespace varelo
