#pragma once

#include <string>

#include "modbus/modbus_decode.h"
#include "modbus/tests/hex_bytes.h"

namespace varelo {

// A decoded frame in one line, for tables of cases: its role, its problem if
// any, and every field its layout set, e.g. "request st=17 fn=3 a=107 n=3".
inline std::string FrameSummary(const DecodedFrame& f) {
    static const char* const kRoles[] = {"request", "answer", "exception", "either", "unknown"};
    std::string out = kRoles[static_cast<int>(f.role)];
    if (!f.valid()) out += std::string(" ") + ProblemKey(f.problem);
    out += " st=" + std::to_string(f.station) + " fn=" + std::to_string(f.function);
    if (f.hasAddress) out += " a=" + std::to_string(f.address);
    if (f.hasCount) out += " n=" + std::to_string(f.count);
    if (f.hasValue) out += " v=" + std::to_string(f.value);
    if (f.hasWrite) out += " wa=" + std::to_string(f.writeAddress) + " wn=" + std::to_string(f.writeCount);
    if (f.role == FrameRole::Exception && f.valid()) out += " x=" + std::to_string(f.exceptionCode);
    if (f.dataSize) {
        std::string data = testing::hex(std::string(f.data()));
        std::erase(data, ' ');
        out += " d=" + data;
    }
    return out;
}

// The ASCII frame of a message, with an LRC computed here rather than by the code under test.
inline std::string AsciiFrame(const std::string& message) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    unsigned sum = 0;
    std::string out = ":";
    for (const unsigned char b : message) {
        sum += b;
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    const unsigned lrc = (0x100 - (sum & 0xFF)) & 0xFF;
    out += kDigits[lrc >> 4];
    out += kDigits[lrc & 0xF];
    return out + "\r\n";
}

}  // namespace varelo
