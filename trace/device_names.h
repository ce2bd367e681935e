#pragma once

#include <string>

namespace varelo {

inline constexpr const char* kSerialByIdDir = "/dev/serial/by-id";

// The stable name of a device in byIdDir: the path itself when it is already one,
// else the link there that leads to the same device; empty when it has none. An
// adapter that comes back under another ttyUSB number keeps this name.
std::string StableDeviceName(const std::string& path, const std::string& byIdDir = kSerialByIdDir);

}  // namespace varelo
