#pragma once

#include <cstdint>
#include <string>

namespace varelo {

// The main window's own state for monitoring and sending, apart from its
// controls. The window owns one; the monitor's pieces read and write it.
struct MonitorState {
    // The weight of the last weight telegram, 5 characters.
    std::string WeightText;
    // Running count of received bytes that were displayed (shown in the count
    // field). 64-bit: a fast virtual line passes 2 GB in minutes.
    std::int64_t RxCount = 0;
    // The byte being rendered while a sent telegram is echoed.
    std::int32_t CurrentByte = 0;
    // Number of stations polled in turn, and the station polled last (0 before the first).
    std::int32_t StationCount = 0;
    std::int32_t Station = 0;
    // Numeric part of the 11-character code, counting down.
    std::int32_t CodeCounter = 123456789;
    // Telegram type code that the scheduler dispatches on.
    std::uint32_t TlgType = 0;
    // The capture file is open and receives the traffic.
    bool Capturing = false;
    // The scheduler runs.
    bool Sending = false;
    // Display mode: Hexa, or Ctrl - ASCII - Hexa; both false is ASCII - Hexa.
    bool HexMode = false;
    bool CtrlMode = false;
    // Each telegram starts a new line with a port header, and received ones
    // carry their time of arrival too.
    bool SkipLine = false;
    bool ShowTime = false;
    // Index 1 to 6 into the code prefixes.
    std::int32_t PrefixIndex = 1;
};

}  // namespace varelo
