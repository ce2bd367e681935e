#pragma once

#include "serial/serial_enums.h"

#include <cstdint>

namespace varelo {

// The line settings a driver writes to its device in one step.
struct LineSettings {
    std::uint32_t baudRateValue = 9600;
    TDataBits dataBits = db8BITS;
    TStopBits stopBits = sb1BITS;
    TParity parity = ptNONE;
    THwFlowControl hwFlow = hfNONERTSON;
    TSwFlowControl swFlow = sfNONE;
    std::uint32_t inBufSize = 2048;
    bool enableDtrOnOpen = true;
};

enum class DtrControl : std::uint8_t { Disable = 0, Enable = 1 };
enum class RtsControl : std::uint8_t { Disable = 0, Enable = 1, Handshake = 2 };

// The device control values, with the meaning (and numbers) of a serial port's
// control block. Members not listed are always 0: received parity errors are not
// reported, DSR plays no part, and no character is replaced or dropped.
struct DeviceControl {
    std::uint32_t baudRate = 0;
    bool binary = true;
    bool parityCheck = false;
    bool outxCtsFlow = false;
    DtrControl dtrControl = DtrControl::Disable;
    RtsControl rtsControl = RtsControl::Disable;
    bool outX = false;  // XON/XOFF on what we send
    bool inX = false;   // XON/XOFF on what we receive
    std::uint16_t xonLim = 0;
    std::uint16_t xoffLim = 0;
    std::uint8_t byteSize = 8;
    std::uint8_t parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t stopBits = 0;  // 0 one, 1 one and a half, 2 two
    std::uint8_t xonChar = 0x11;
    std::uint8_t xoffChar = 0x13;

    bool operator==(const DeviceControl&) const = default;
};

DeviceControl BuildDeviceControl(const LineSettings& settings);

}  // namespace varelo
