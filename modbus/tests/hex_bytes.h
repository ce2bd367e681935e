#pragma once

#include <string>

namespace varelo::testing {

// "01 03 4B" as the bytes 01 03 4B; blanks between the pairs are optional.
inline std::string bytes(const std::string& hex) {
    std::string out;
    std::string pair;
    for (const char c : hex) {
        if (c == ' ') continue;
        pair += c;
        if (pair.size() == 2) {
            out += static_cast<char>(std::stoi(pair, nullptr, 16));
            pair.clear();
        }
    }
    return out;
}

// The other way, for readable failure messages.
inline std::string hex(const std::string& data) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char b : data) {
        if (!out.empty()) out += ' ';
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

}  // namespace varelo::testing
