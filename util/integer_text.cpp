#include "util/integer_text.h"

#include "util/run_time_errors.h"

#include <limits>

namespace varelo {

std::int32_t StrToInt(const std::string& text) {
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) pos = 1;
    if (pos == text.size()) throw ConversionError(text);

    // Gathered as a magnitude so that the lowest value, whose magnitude is one
    // above the highest, is still accepted.
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9') throw ConversionError(text);
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) throw ConversionError(text);
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace varelo
