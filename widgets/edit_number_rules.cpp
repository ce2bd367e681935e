#include "widgets/edit_number_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace varelo {
namespace {

constexpr double kIntegerLimit = 2147483647.0;

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool keeps(TEditTypes type, char16_t c) {
    if (isDigit(c) || c == u'-') return true;
    return type == etFloat && (c == u',' || c == u'.');
}

}  // namespace

std::u16string keptNumberCharacters(TEditTypes type, std::u16string_view text) {
    if (type != etInteger && type != etFloat) return std::u16string(text);
    std::u16string kept;
    for (char16_t c : text)
        if (keeps(type, c)) kept += c;
    return kept;
}

std::u16string minusToFront(std::u16string_view text) {
    std::u16string out(text);
    const auto minus = out.find(u'-');
    if (minus != std::u16string::npos && minus > 0) {
        out.erase(minus, 1);
        out.insert(out.begin(), u'-');
    }
    return out;
}

std::optional<std::int32_t> parseInt32(std::u16string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    if (i == text.size()) return std::nullopt;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i])) return std::nullopt;
        magnitude = magnitude * 10 + (text[i] - u'0');
        if (magnitude > 2147483648LL) return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<double> parseDecimal(std::u16string_view text, char16_t decimal) {
    std::string ascii;
    ascii.reserve(text.size());
    bool digit = false;
    bool separator = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isDigit(c)) {
            digit = true;
            ascii += static_cast<char>(c);
        } else if (c == u'-' && i == 0) {
            ascii += '-';
        } else if (c == decimal && !separator) {
            separator = true;
            ascii += digit ? "." : "0.";  // from_chars wants a digit before the point
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size()) return std::nullopt;
    return value;
}

NumberValues parseNumberText(TEditTypes type, std::u16string_view text, char16_t decimal) {
    std::u16string cleaned;
    for (char16_t c : text)
        if (isDigit(c) || c == u'-' || c == u',' || c == u'.') cleaned += c;
    if (text.empty() || cleaned.empty()) return {};
    if (cleaned == u"-") return {NumberOutcome::LoneMinus};

    const std::u16string valueText = minusToFront(cleaned);
    if (type == etInteger) {
        const auto x = parseDecimal(valueText, decimal);
        if (!x) return {NumberOutcome::NotANumber};
        if (*x > kIntegerLimit || *x < -kIntegerLimit) return {NumberOutcome::OutOfRange};
        const auto n = parseInt32(valueText);
        if (!n) return {NumberOutcome::NotANumber};
        return {NumberOutcome::Parsed, *n, static_cast<double>(*n)};
    }
    const auto x = parseDecimal(valueText, decimal);
    if (!x) return {NumberOutcome::NotANumber};
    const double whole = std::clamp(std::trunc(*x), -kIntegerLimit, kIntegerLimit);
    return {NumberOutcome::Parsed, static_cast<std::int32_t>(whole), *x};
}

}  // namespace varelo
