#pragma once

#include <cstdint>
#include <string>

namespace varelo {

// Texts are byte strings that may hold any byte, zero included. "Blank" means the
// byte 32 only: tabs and other white space are ordinary characters here.

std::string TrimLeftSpaces(const std::string& text);
std::string TrimRightSpaces(const std::string& text);
std::string TrimSpaces(const std::string& text);

// `count` blanks; 0 or less gives the empty text.
std::string Spaces(std::int32_t count);

// The field is `width` wide, or as wide as the text passed when `width` is 0 or
// too small: a field never cuts its text. AlignRight drops the text's trailing
// blanks before padding on the left; AlignLeft drops its leading blanks before
// padding on the right.
std::string AlignRight(const std::string& text, std::int32_t width);
std::string AlignLeft(const std::string& text, std::int32_t width);

// Turns whatever the user typed into a signed decimal integer text, left-aligned
// in the width of what was typed: blanks trimmed, anything from the first full
// stop or comma cut, leading characters other than a sign or digit removed, later
// non-digits replaced by 0. Never empty ("0" for nothing usable). A lone sign and
// the trailing blanks stay, so the result may still be refused by StrToInt.
std::string CleanIntegerText(const std::string& text);

// Each hexadecimal digit (either case) as a blank and four binary digits:
// "1f" gives " 0001 1111". Any other character gives the empty text.
std::string HexToBinText(const std::string& text);

// Reads the text from its last character as bits of rising weight: a '1' sets
// its bit, anything else (blanks too) is a 0 bit. 32-bit, wrapping: the 32nd
// character from the right is the sign bit, characters further left count nothing.
std::int32_t BinTextToInt(const std::string& text);

}  // namespace varelo
