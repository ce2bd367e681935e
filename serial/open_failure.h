#pragma once

#include <string>

namespace varelo {

// Why a device path could not be opened for exclusive use, in a few words for a
// message ("no such device", "a folder, not a serial line", "held by another
// program"). Asked after the open has failed: it looks again at the path, and takes
// nothing that it keeps.
std::string OpenFailureReason(const std::string& path);

}  // namespace varelo
