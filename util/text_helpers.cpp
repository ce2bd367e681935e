#include "util/text_helpers.h"

#include <algorithm>

namespace varelo {
namespace {

constexpr char kBlank = ' ';

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The width rule shared by both alignments: never narrower than the text as passed.
std::size_t fieldWidth(const std::string& text, std::int32_t width) {
    const std::size_t asked = width > 0 ? static_cast<std::size_t>(width) : 0;
    return std::max(asked, text.size());
}

// Step 5 of cleaning: the first character must be a sign or a digit, later ones digits.
std::string keepSignAndDigits(std::string text) {
    while (!text.empty() && !isDigit(text.front()) && text.front() != '+' && text.front() != '-') {
        if (text.size() == 1) return "0";
        text.erase(0, 1);
    }
    std::replace_if(
        text.begin() + 1, text.end(), [](char c) { return !isDigit(c); }, '0');
    return text;
}

}  // namespace

std::string TrimLeftSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(kBlank);
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string TrimRightSpaces(const std::string& text) {
    const auto last = text.find_last_not_of(kBlank);
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string TrimSpaces(const std::string& text) {
    return TrimLeftSpaces(TrimRightSpaces(text));
}

std::string Spaces(std::int32_t count) {
    return count > 0 ? std::string(static_cast<std::size_t>(count), kBlank) : std::string();
}

std::string AlignRight(const std::string& text, std::int32_t width) {
    const std::size_t field = fieldWidth(text, width);
    const std::string content = TrimRightSpaces(text);
    return std::string(field - content.size(), kBlank) + content;
}

std::string AlignLeft(const std::string& text, std::int32_t width) {
    const std::size_t field = fieldWidth(text, width);
    const std::string content = TrimLeftSpaces(text);
    return content + std::string(field - content.size(), kBlank);
}

std::string CleanIntegerText(const std::string& text) {
    const auto width = static_cast<std::int32_t>(text.size());
    std::string work = TrimSpaces(text);
    work = work.substr(0, work.find('.'));
    work = work.substr(0, work.find(','));
    work = work.empty() ? "0" : keepSignAndDigits(work);
    return AlignLeft(work, width);
}

std::string HexToBinText(const std::string& text) {
    std::string bits;
    bits.reserve(text.size() * 5);
    for (const char c : text) {
        int value = 0;
        if (isDigit(c)) {
            value = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            value = c - 'A' + 10;
        } else if (c >= 'a' && c <= 'f') {
            value = c - 'a' + 10;
        } else {
            return {};
        }
        bits += kBlank;
        for (int bit = 3; bit >= 0; --bit) bits += ((value >> bit) & 1) ? '1' : '0';
    }
    return bits;
}

std::int32_t BinTextToInt(const std::string& text) {
    // Unsigned arithmetic gives the 32-bit wrap without overflow.
    std::uint32_t value = 0;
    const std::size_t bits = std::min<std::size_t>(text.size(), 32);
    for (std::size_t i = 0; i < bits; ++i) {
        if (text[text.size() - 1 - i] == '1') value |= std::uint32_t{1} << i;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace varelo
