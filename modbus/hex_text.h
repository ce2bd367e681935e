#pragma once

#include <string>
#include <string_view>

namespace varelo {

// The value of a hexadecimal digit of either case, or -1.
int HexDigitValue(char c);

// The bytes as upper-case hexadecimal, two digits each, with a blank between
// bytes when `spaced`.
void AppendHexBytes(std::string& out, std::string_view bytes, bool spaced = false);
std::string HexBytesText(std::string_view bytes, bool spaced = false);

// A number as `digits` upper-case hexadecimal digits.
void AppendHexNumber(std::string& out, unsigned value, int digits);

}  // namespace varelo
