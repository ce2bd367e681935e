#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace varelo::bench {

// What a capture file written in Hexa mode, one telegram per line with its
// time, holds of each port: every received block is CR LF, "P", the port digit,
// "->", a 14-character time stamp, then "(HH)" per byte.
struct CaptureContent {
    std::array<std::uint64_t, 2> bytes{};       // bytes decoded per port
    std::array<std::uint64_t, 2> mismatches{};  // bytes that differ from the feeder's pattern
    std::uint64_t blocks = 0;
    std::uint64_t malformed = 0;  // characters that fit no part of the format
    bool readable = false;
};

// Reads the file and compares each port's bytes with the pattern the feeder sent.
CaptureContent CheckCapture(const std::string& path);

}  // namespace varelo::bench
