#pragma once

#include "serial/serial_device.h"

#include <memory>
#include <string>

namespace varelo {

// A tty opened for exclusive use: locked against every other opener (flock), against
// programs that keep to lock files (a lock file in /var/lock while it is open) and
// marked exclusive for the kernel (TIOCEXCL). Anything that is not a tty, or that
// another program holds in one of these ways, gives nullptr; a lock file or an
// exclusive mark left behind by a program that has ended holds nothing. Closing
// drops output not sent yet, so that a held line (CTS low, XOFF) cannot hold it up.
//
// A Linux tty keeps only about 4 KB between two reads, so received bytes are taken
// out of the kernel as soon as they arrive (a socket notifier on the thread that
// opened the device) into a staging buffer of fixed size; the input queue is that
// buffer. When it is full, reading stops until there is room again, so the line's
// flow control, if any, holds the far end.
std::unique_ptr<SerialDevice> OpenPosixSerialDevice(const std::string& path);

// Size of the staging buffer of received bytes.
inline constexpr std::size_t kSerialStagingBytes = 1 << 20;

}  // namespace varelo
