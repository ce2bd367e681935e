#pragma once

#include "widgets/edit_types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varelo {

inline constexpr const char* kIntegerRangeMessage = "Range Max. : -2147483647 <-> 2147483647";
inline constexpr const char* kNumberConversionMessage =
    "Range Max. :\r - Integer : -2147483647 <-> 2147483647\r - Float   : 5.0e-324 <-> 1.7e+308";

// The text of a numeric field with what it cannot hold taken out: an integer
// field keeps the minus sign and digits, a float field also "," and ".".
// Other types keep their text as it is.
std::u16string keptNumberCharacters(TEditTypes type, std::u16string_view text);

// The text with its first minus sign moved to the front ('12-3' gives '-123').
std::u16string minusToFront(std::u16string_view text);

// A decimal integer with an optional sign and nothing else, within 32 bits.
std::optional<std::int32_t> parseInt32(std::u16string_view text);

// A decimal number with an optional minus sign and at most one `decimal`
// separator ("3,5", ",5", "5,"); at least one digit; within the range of a double.
std::optional<double> parseDecimal(std::u16string_view text, char16_t decimal);

enum class NumberOutcome {
    Empty,      // nothing to parse: the values keep what they held
    LoneMinus,  // a minus sign alone: both values 0, no change reported
    Parsed,
    OutOfRange,  // an integer beyond +-2147483647: both values 0, kIntegerRangeMessage
    NotANumber,  // both values 0, kNumberConversionMessage
};

struct NumberValues {
    NumberOutcome outcome = NumberOutcome::Empty;
    std::int32_t integer = 0;
    double floating = 0;
};

// The values of the text of an integer or float field. The accepted integer
// range is symmetric: -2147483648 is out of range. A float's integer value is
// its integer part, held within the same range.
NumberValues parseNumberText(TEditTypes type, std::u16string_view text, char16_t decimal);

}  // namespace varelo
