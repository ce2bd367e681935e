#pragma once

#include <cstdint>
#include <string>

namespace varelo {

// The integer conversion of numbers typed into input boxes (after CleanIntegerText):
// an optional '+' or '-', then one or more decimal digits, within the 32-bit range.
// Anything else (a lone sign, blanks, the empty text, a value out of range) throws
// ConversionError naming the text.
std::int32_t StrToInt(const std::string& text);

}  // namespace varelo
