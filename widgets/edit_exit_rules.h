#pragma once

#include "widgets/edit_types.h"

#include <string>
#include <string_view>

namespace varelo {

// Tidying of a typed edit field's text when the focus leaves it. Each returns
// the text unchanged when there is nothing to do.

// A string field's alignment to `length` characters: right prefixes blanks;
// left drops the leading blanks and appends blanks; centre puts half of the
// missing blanks in front (rounded half to even) and fills to one more than
// `length`. Only a text shorter than a positive `length` is touched.
std::u16string alignText(std::u16string_view text, TEditAlign align, int length);

// Zeros in front up to `length` characters (a minus sign stays where it is).
std::u16string zeroFill(std::u16string_view text, int length);

// A float text with exactly `precision` decimals after `decimal`: an empty text
// is "0", missing decimals are zeros, extra ones are cut off without rounding.
std::u16string fixDecimals(std::u16string_view text, int precision, char16_t decimal);

}  // namespace varelo
