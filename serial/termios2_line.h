#pragma once

// The kernel's own terminal structure (termios2), which carries any baud rate.
// Its header clashes with the C library's <termios.h>: never include both in one
// file.
#include <asm/termbits.h>

#include "serial/device_control.h"

namespace varelo {

// The raw-mode line that the device control values ask for. Received parity
// errors are not checked; XON/XOFF uses the control's characters; the rate goes
// in as a number, whatever it is.
termios2 TermiosForDeviceControl(const DeviceControl& dc);

// DTR and RTS levels to set when the line is applied.
struct ModemLevels {
    bool dtr = false;
    bool rts = false;
    bool operator==(const ModemLevels&) const = default;
};
ModemLevels ModemLevelsForDeviceControl(const DeviceControl& dc);

// Writes the line to an open tty. False when the tty refuses it, or for a rate of
// 0 (which would hang the line up rather than set a speed).
bool SetTtyLine(int fd, const DeviceControl& dc);

}  // namespace varelo
