#pragma once

#include <string>

#include "sim/line_role.h"
#include "sim/serial_line.h"

namespace varelo {

// Serves `role` on the line until `stopFd` becomes readable (see StopSignals)
// or the device path disappears; returns the exit status. When the far end goes
// away the loop waits, looking every 100 ms, and takes the line up again if the
// path comes to name another device (a pty link made anew).
int RunLine(const std::string& path, int baud, SerialLine line, LineRole& role, int stopFd);

}  // namespace varelo
