#pragma once

#include <cstdint>
#include <string>

namespace varelo {

// The forms of the number converter's value v, a 32-bit signed integer, and
// the readings of what the user typed. Texts are byte strings in Windows-1252.

// v as exactly eight upper-case hexadecimal digits, negative values in two's
// complement: -1 gives "FFFFFFFF".
std::string hexForm(std::int32_t v);

// The control-character name of 0 to 31, else empty.
std::string controlForm(std::int32_t v);

// The one character with the code 32 to 254, else empty (255 is left out).
std::string characterForm(std::int32_t v);

// The hexadecimal field after its filter, and the digits it kept.
struct HexFilterResult {
    std::u32string field;
    std::string digits;
};

// Walks positions 1 to n of the field, n being its length at the start. A digit
// or letter A to F at position p of the field's current text is kept; any
// other character, or a position past the current end, drops the field's last
// character. When typing, the character that is not hexadecimal is the last one,
// so it goes at once.
HexFilterResult filterHexField(std::u32string field);

// Up to eight hexadecimal digits (0 to 9, A to F) as a 32-bit value; eight digits with the top
// bit set give a negative value.
std::int32_t hexDigitsToInt(const std::string& digits);

// The characters 0 and 1 of the text, in order; everything else is skipped.
std::string binaryDigitsOf(const std::string& text);

}  // namespace varelo
