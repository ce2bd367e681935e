#pragma once

#include "widgets/edit_types.h"

#include <string_view>

namespace varelo {

// Typed characters as the typed edit field sees them: a key it refuses becomes
// kRefusedKey, which is never inserted; a key it has used up becomes kSwallowedKey.
inline constexpr char16_t kRefusedKey = 15;
inline constexpr char16_t kSwallowedKey = 0;

inline constexpr char16_t kBackspaceKey = 8;
inline constexpr char16_t kEnterKey = 13;
inline constexpr char16_t kEscapeKey = 27;

// The key that a field of `type` holding `text` lets through: the key itself,
// the locale's decimal separator for a decimal point or comma typed into a
// float field, or kRefusedKey. String fields let every key through.
char16_t filterTypedKey(TEditTypes type, char16_t key, std::u16string_view text, char16_t decimal);

// The typing limit of an integer field before a key goes in: a field without a
// limit (0) takes 11 characters once a minus sign is involved.
int integerTypingLimit(int maxLength, std::u16string_view text, char16_t key);

// Whether a string field with first-letter capitals turns the typed key to
// upper case: at the start, over a whole selection, or after one of `upList`.
bool capitalisesTypedKey(std::u16string_view text, bool wholeTextSelected, std::u16string_view upList);

}  // namespace varelo
