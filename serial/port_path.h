#pragma once

#include <string>

namespace varelo {

// The device path a port name opens. "\\.\COMn" (n from 1) is the path in the
// environment variable VARELO_COMn when that is set, else /dev/ttyS<n-1>; any
// other name is a path already.
std::string ResolvePortPath(const std::string& portName);

}  // namespace varelo
