#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace varelo::fuzz {

// What a strict decimal integer text stands for, worked out with the standard
// library: an optional sign, then one or more digits, within 32 bits.
inline std::optional<std::int32_t> referenceInt32(std::string_view text) {
    const std::size_t digitsFrom = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (digitsFrom == text.size() || !std::all_of(text.begin() + digitsFrom, text.end(), isDigit)) return {};
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    const char* last = text.data() + text.size();
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return {};
    return value;
}

}  // namespace varelo::fuzz
