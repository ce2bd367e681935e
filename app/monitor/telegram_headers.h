#pragma once

#include <string>

namespace varelo {

enum class Direction { Received, Sent };

// The header that puts each telegram on a line of its own: CR, "P", the port
// digit ('1' or '2'), then "->" for received and "<-" for sent telegrams.
// The terminal view turns its CR into a new line.
std::string ViewHeader(char port, Direction direction);

// The same header for the capture file, with CR LF so that the file's lines
// are ordinary text lines.
std::string CaptureHeader(char port, Direction direction);

}  // namespace varelo
