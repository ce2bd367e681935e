#include "app/converter/converter_forms.h"

#include "util/ctrl_names.h"

#include <cstdio>

namespace varelo {
namespace {

bool isHexDigit(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'F');
}

}  // namespace

std::string hexForm(std::int32_t v) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(static_cast<std::uint32_t>(v)));
    return text;
}

std::string controlForm(std::int32_t v) {
    if (v < 0 || v > 31) return {};
    return std::string(CtrlNames[static_cast<std::size_t>(v)]);
}

std::string characterForm(std::int32_t v) {
    if (v < 32 || v > 254) return {};
    return std::string(1, static_cast<char>(v));
}

HexFilterResult filterHexField(std::u32string field) {
    HexFilterResult result;
    const std::size_t n = field.size();
    for (std::size_t p = 0; p < n; ++p) {
        if (p < field.size() && isHexDigit(field[p]))
            result.digits += static_cast<char>(field[p]);
        else if (!field.empty())
            field.pop_back();
    }
    result.field = std::move(field);
    return result;
}

std::int32_t hexDigitsToInt(const std::string& digits) {
    // Unsigned arithmetic gives the two's complement without overflow.
    std::uint32_t value = 0;
    for (const char c : digits) {
        const unsigned digit =
            c <= '9' ? static_cast<unsigned>(c - '0') : static_cast<unsigned>(c - 'A' + 10);
        value = (value << 4) | digit;
    }
    return static_cast<std::int32_t>(value);
}

std::string binaryDigitsOf(const std::string& text) {
    std::string digits;
    for (const char c : text)
        if (c == '0' || c == '1') digits += c;
    return digits;
}

}  // namespace varelo
