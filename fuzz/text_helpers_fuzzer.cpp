// The text and number helpers on arbitrary text. Each must return a result its
// callers can rely on; only StrToInt may throw, and only its ConversionError.
//
// Input: the whole input is the text; its first byte, as a signed number, is also
// the width given to the alignments.

#include "fuzz/fuzz_input.h"
#include "fuzz/reference_integer.h"
#include "util/integer_text.h"
#include "util/run_time_errors.h"
#include "util/text_helpers.h"

#include <algorithm>
#include <charconv>

namespace varelo::fuzz {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool onlyBlanks(const std::string& text, std::size_t from) {
    return text.find_first_not_of(' ', from) == std::string::npos;
}

void checkStrToInt(const std::string& text) {
    const std::optional<std::int32_t> expected = referenceInt32(text);
    try {
        const std::int32_t value = StrToInt(text);
        FUZZ_CHECK(expected && value == *expected);
    } catch (const ConversionError& error) {
        FUZZ_CHECK(!expected);
        // The message is a C string: a text with a zero byte shows up to it.
        const std::string message = "'" + text + "' is not a valid integer value";
        FUZZ_CHECK(error.what() == message.substr(0, message.find('\0')));
    }
}

void checkCleanIntegerText(const std::string& text) {
    const std::string cleaned = CleanIntegerText(text);
    // As wide as what was typed, never empty: a sign or digit, digits, then blanks.
    FUZZ_CHECK(cleaned.size() == std::max<std::size_t>(text.size(), 1));
    const std::string number = TrimRightSpaces(cleaned);
    FUZZ_CHECK(!number.empty());
    FUZZ_CHECK(isDigit(number[0]) || number[0] == '+' || number[0] == '-');
    FUZZ_CHECK(std::all_of(number.begin() + 1, number.end(), isDigit));
    FUZZ_CHECK(CleanIntegerText(cleaned) == cleaned);
    checkStrToInt(number);
    checkStrToInt(cleaned);
}

void checkHexAndBinary(const std::string& text) {
    const std::string bits = HexToBinText(text);
    const bool convertible = !text.empty() && std::all_of(text.begin(), text.end(), isHexDigit);
    FUZZ_CHECK(bits.empty() != convertible);
    if (!convertible) return;

    FUZZ_CHECK(bits.size() == 5 * text.size());
    std::string digits;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        if (i % 5 == 0) {
            FUZZ_CHECK(bits[i] == ' ');
        } else {
            FUZZ_CHECK(bits[i] == '0' || bits[i] == '1');
            digits += bits[i];
        }
    }
    // Back to a number: the last eight hexadecimal digits, as 32 bits.
    std::uint32_t value = 0;
    const std::size_t lastEight = text.size() > 8 ? text.size() - 8 : 0;
    std::from_chars(text.data() + lastEight, text.data() + text.size(), value, 16);
    FUZZ_CHECK(BinTextToInt(digits) == static_cast<std::int32_t>(value));
}

void checkBinTextToInt(const std::string& text) {
    // Read from the left, each character a bit; the 32-bit wrap keeps the last 32.
    std::uint32_t value = 0;
    for (const char c : text) value = (value << 1) | (c == '1' ? 1u : 0u);
    FUZZ_CHECK(BinTextToInt(text) == static_cast<std::int32_t>(value));
}

void checkTrimAndAlign(const std::string& text, std::int32_t width) {
    const std::string trimmed = TrimSpaces(text);
    FUZZ_CHECK(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '));
    FUZZ_CHECK(text.find(trimmed) != std::string::npos);

    const std::size_t field = std::max<std::size_t>(width > 0 ? width : 0, text.size());
    const std::string right = AlignRight(text, width);
    const std::string rightContent = TrimRightSpaces(text);
    FUZZ_CHECK(right.size() == field);
    FUZZ_CHECK(right.compare(field - rightContent.size(), std::string::npos, rightContent) == 0);
    FUZZ_CHECK(right.find_first_not_of(' ') >= field - rightContent.size());

    const std::string left = AlignLeft(text, width);
    const std::string leftContent = TrimLeftSpaces(text);
    FUZZ_CHECK(left.size() == field);
    FUZZ_CHECK(left.compare(0, leftContent.size(), leftContent) == 0 && onlyBlanks(left, leftContent.size()));
}

}  // namespace
}  // namespace varelo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varelo::fuzz;

    const std::string text(reinterpret_cast<const char*>(data), size);
    checkCleanIntegerText(text);
    checkStrToInt(text);
    checkHexAndBinary(text);
    checkBinTextToInt(text);
    checkTrimAndAlign(text, size ? static_cast<std::int8_t>(data[0]) : 0);
    return 0;
}
