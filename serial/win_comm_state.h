#pragma once

// The Win32 form of the line: the serial port's control block (DCB) and the time-outs
// the staging reader needs. No Qt here.
#include <windows.h>

#include "serial/device_control.h"

namespace varelo {

// The control block for the device control values, on top of what the port reported
// (its DCBlength and reserved members are kept). Received parity errors are not
// checked, DSR plays no part, and no character is replaced or dropped.
DCB DcbForDeviceControl(const DeviceControl& dc, DCB current);

// A read returns as soon as at least one byte is there (at once when bytes are
// already waiting), or empty after waitMs. Writes never time out.
COMMTIMEOUTS ReadAsBytesArriveTimeouts(DWORD waitMs);

}  // namespace varelo
