#include "widgets/edit_exit_rules.h"

#include <cmath>

namespace varelo {

std::u16string alignText(std::u16string_view text, TEditAlign align, int length) {
    std::u16string out(text);
    if (length <= 0 || static_cast<int>(out.size()) >= length) return out;
    const auto size = static_cast<std::size_t>(length);
    switch (align) {
        case etAlignRight:
            out.insert(0, size - out.size(), u' ');
            break;
        case etAlignLeft: {
            const auto first = out.find_first_not_of(u' ');
            out.erase(0, first == std::u16string::npos ? out.size() : first);
            out.append(size - out.size(), u' ');
            break;
        }
        case etAlignCenter: {
            const double half = (length - static_cast<int>(out.size())) / 2.0;
            out.insert(0, static_cast<std::size_t>(std::nearbyint(half)), u' ');
            if (out.size() < size + 1) out.append(size + 1 - out.size(), u' ');
            break;
        }
        case etAlignNone:
        case etAlignValue:
            break;
    }
    return out;
}

std::u16string zeroFill(std::u16string_view text, int length) {
    std::u16string out(text);
    if (length > 0 && static_cast<int>(out.size()) < length)
        out.insert(0, static_cast<std::size_t>(length) - out.size(), u'0');
    return out;
}

std::u16string fixDecimals(std::u16string_view text, int precision, char16_t decimal) {
    std::u16string out = text.empty() ? std::u16string(u"0") : std::u16string(text);
    if (precision <= 0) return out;
    const auto size = static_cast<std::size_t>(precision);
    const auto separator = out.find(decimal);
    if (separator == std::u16string::npos) {
        out += decimal;
        out.append(size, u'0');
        return out;
    }
    const std::size_t decimals = out.size() - separator - 1;
    if (decimals > size)
        out.resize(separator + 1 + size);
    else
        out.append(size - decimals, u'0');
    return out;
}

}  // namespace varelo
