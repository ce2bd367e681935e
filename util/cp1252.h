#pragma once

#include <string>
#include <string_view>

namespace varelo {

// Telegrams and texts are byte strings in the Windows-1252 code page; these turn
// them into Unicode only where they are drawn. The five bytes the code page leaves
// undefined (81, 8D, 8F, 90, 9D) map to the C1 control with the same value.
char32_t cp1252ToUnicode(unsigned char byte);
std::string cp1252ToUtf8(std::string_view bytes);

// The way back, for text typed by the user: characters outside the code page become '?'.
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace varelo
