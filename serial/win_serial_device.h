#pragma once

#include "serial/serial_device.h"

#include <memory>
#include <string>

namespace varelo {

// A COM port opened for exclusive use (no sharing: a port another program holds
// gives nullptr, as does anything that is not a serial port). Received bytes leave
// the driver as they arrive: an overlapped read always waits on the port, and the
// thread that opened the device watches its event (QWinEventNotifier), moving each
// finished read into a staging buffer of fixed size; the input queue is that buffer.
std::unique_ptr<SerialDevice> OpenWinSerialDevice(const std::string& path);

// Size of the staging buffer of received bytes (as on Linux).
inline constexpr std::size_t kSerialStagingBytes = 1 << 20;

}  // namespace varelo
