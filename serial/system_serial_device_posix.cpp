#include "serial/system_serial_device.h"

#include "serial/posix_serial_device.h"

namespace varelo {

std::unique_ptr<SerialDevice> OpenSystemSerialDevice(const std::string& path) {
    return OpenPosixSerialDevice(path);
}

}  // namespace varelo
