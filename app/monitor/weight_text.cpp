#include "app/monitor/weight_text.h"

#include "util/text_helpers.h"

#include <algorithm>
#include <charconv>

namespace varelo {
namespace {

// The shortest decimal text with up to 15 significant digits, general format,
// with the given decimal separator. to_chars ignores the C locale, which Qt sets
// from the desktop, so the separator is always ours to place.
std::string generalText(long double value, const std::string& decimalSeparator) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    const auto point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, decimalSeparator);
    return text;
}

}  // namespace

std::string WeightTextFor(long double weight, const std::string& decimalSeparator) {
    std::string s = AlignRight(generalText(weight, decimalSeparator), 5);
    const auto comma = s.find(',');
    if (comma != std::string::npos) s[comma] = '.';
    s.resize(std::min<std::size_t>(s.size(), 4));
    return AlignRight(s, 5);
}

}  // namespace varelo
