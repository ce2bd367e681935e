#pragma once

#include <string>

namespace varelo {

// The device path a port name opens. "\\.\COMn" (n from 1) is the path in the
// environment variable VARELO_COMn when that is set, else the system's own device
// for it; any other name is a path already.
std::string ResolvePortPath(const std::string& portName);

// The system's own device for "\\.\COMn": /dev/ttyS<n-1> on Linux, the name itself on
// Windows.
std::string SystemComPath(const std::string& portName, unsigned n);

}  // namespace varelo
