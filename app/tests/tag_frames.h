#pragma once

#include "modbus/modbus_frame.h"

#include <string>

namespace varelo::test {

// Bytes written as hexadecimal pairs, blanks ignored: "01 03 00" is three bytes.
inline std::string hexBytes(const std::string& hex) {
    std::string bytes;
    std::string pair;
    for (const char c : hex) {
        if (c == ' ') continue;
        pair += c;
        if (pair.size() == 2) {
            bytes += static_cast<char>(std::stoi(pair, nullptr, 16));
            pair.clear();
        }
    }
    return bytes;
}

// A tag reader's answer to a read of holding registers: station, function 3,
// the byte count, the data (high byte of each register first) and the CRC.
inline std::string readResponse(int station, const std::string& data) {
    std::string frame;
    frame += static_cast<char>(station);
    frame += '\x03';
    frame += static_cast<char>(data.size());
    frame += data;
    return frame + ModbusCrc16(frame);
}

// The 64 data bytes of one block of 32 registers cut from a tag image (low
// byte of each register first), in the order the reader sends them.
inline std::string blockData(const std::string& image, int block) {
    std::string data;
    for (int i = 64 * block; i < 64 * block + 64; i += 2) {
        data += image[i + 1];
        data += image[i];
    }
    return data;
}

// A tag of 16 lines of 16 printable characters, so that its map reads as text.
inline std::string sampleTag(const std::string& title) {
    std::string image;
    for (int row = 0; row < 16; ++row) {
        std::string line = title + " ROW " + "0123456789ABCDEF"[row];
        line.resize(16, '.');
        image += line;
    }
    return image;
}

}  // namespace varelo::test
