#pragma once

#include <string>
#include <vector>

namespace varelo {

// The ASCII table's text: 29 lines of nine-character cells (the character, a
// blank, the code in three decimal digits, a blank, two upper-case hexadecimal
// digits, "|"), nine cells to a line, codes 0 to 255 in order; the last line
// holds 252 to 255. The lines are Windows-1252 byte strings.
//
// Codes 0 to 10 and 13 show the byte 0x0B in place of their own, so that no
// line feed or carriage return splits a line; every other code shows itself.
std::vector<std::string> asciiTableLines();

}  // namespace varelo
