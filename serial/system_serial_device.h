#pragma once

#include "serial/serial_device.h"

#include <memory>
#include <string>

namespace varelo {

// Opens a device of this system's own serial layer for exclusive use (the default of
// every port driver); nullptr when it cannot be had.
std::unique_ptr<SerialDevice> OpenSystemSerialDevice(const std::string& path);

}  // namespace varelo
