#include "modbus/hex_text.h"

namespace varelo {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

}  // namespace

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void AppendHexBytes(std::string& out, std::string_view bytes, bool spaced) {
    if (bytes.empty()) return;
    const std::size_t at = out.size();
    out.resize(at + bytes.size() * (spaced ? 3 : 2) - (spaced ? 1 : 0));
    char* p = out.data() + at;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (spaced && i != 0) *p++ = ' ';
        const auto b = static_cast<unsigned char>(bytes[i]);
        *p++ = kDigits[b >> 4];
        *p++ = kDigits[b & 0xF];
    }
}

std::string HexBytesText(std::string_view bytes, bool spaced) {
    std::string out;
    AppendHexBytes(out, bytes, spaced);
    return out;
}

void AppendHexNumber(std::string& out, unsigned value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

}  // namespace varelo
