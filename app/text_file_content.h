#pragma once

#include <optional>
#include <string>

namespace varelo {

// The part of a text file that is sent: every byte, CR and LF included, up to the
// physical end or the first Ctrl-Z (0x1A), which ends the text and is not part of it.
// The physical end is where the file ended when it was opened: bytes that another
// program appends meanwhile are not read.
// Nothing when the file cannot be read whole: it is missing, not readable, or not a
// regular file (a folder, a device, a pipe that might never end or never open).
std::optional<std::string> ReadTextFileContent(const std::string& path);

}  // namespace varelo
