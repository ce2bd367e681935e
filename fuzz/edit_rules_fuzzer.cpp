// The typed edit field's text rules on arbitrary text, keys, settings and
// regional settings: key filtering, number parsing, exit tidying, and date and
// time completion. Each rule must return, and what it returns must be what the
// field relies on: a tidied text of the promised shape, a completed date or time
// that reads back as the value reported, numbers within their ranges.
//
// Input: eight bytes of settings, then the text (each byte one character, so
// bytes 128 to 255 are the Latin-1 letters):
//   0 field type (% 5)        1 alignment (% 5)          2 alignment length (signed, -8 to 119)
//   3 precision (% 20)        4 regional settings: bits 0-1 date order, bit 2 decimal comma,
//   5 typed key               bits 3-4 date separator, bit 5 time separator
//   6, 7 today and now: year 1 + (6 * 40 + 7) % 9999, month, day, hour, minute, second from them

#include "fuzz/fuzz_input.h"
#include "fuzz/reference_integer.h"
#include "widgets/edit_date_time_rules.h"
#include "widgets/edit_exit_rules.h"
#include "widgets/edit_key_rules.h"
#include "widgets/edit_locale.h"
#include "widgets/edit_number_rules.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace varelo::fuzz {
namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::u16string digitsOf(std::u16string_view text) {
    std::u16string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits), isDigit);
    return digits;
}

// Characters beyond ASCII become a byte that is no digit or sign.
std::string narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += c < 128 ? static_cast<char>(c) : '\x7f';
    return out;
}

void checkKeyRules(TEditTypes type, char16_t key, std::u16string_view text, char16_t decimal) {
    const char16_t passed = filterTypedKey(type, key, text, decimal);
    if (type == etString) return FUZZ_CHECK(passed == key);
    const bool decimalKey = type == etFloat && (key == u',' || key == u'.');
    FUZZ_CHECK(passed == key || passed == kRefusedKey || (decimalKey && passed == decimal));
    // Whatever a numeric field lets through is a key it can hold or one the text filter drops.
    if (passed != kRefusedKey && passed != decimal)
        FUZZ_CHECK(std::u16string_view(u"\b\r#$%'-0123456789").find(passed) != std::u16string_view::npos);
    // One minus sign at most.
    if (key == u'-' && text.find(u'-') != std::u16string_view::npos) FUZZ_CHECK(passed == kRefusedKey);
}

void checkNumberRules(TEditTypes type, std::u16string_view text, char16_t decimal) {
    const std::u16string kept = keptNumberCharacters(type, text);
    FUZZ_CHECK(keptNumberCharacters(type, kept) == kept);
    if (type != etInteger && type != etFloat) FUZZ_CHECK(kept == text);

    const std::u16string front = minusToFront(text);
    FUZZ_CHECK(front.size() == text.size() && minusToFront(front) == front);
    FUZZ_CHECK(std::is_permutation(front.begin(), front.end(), text.begin()));
    if (text.find(u'-') != std::u16string_view::npos) FUZZ_CHECK(front[0] == u'-');

    FUZZ_CHECK(parseInt32(text) == referenceInt32(narrow(text)));

    if (const auto value = parseDecimal(text, decimal)) FUZZ_CHECK(std::isfinite(*value));

    if (type != etInteger && type != etFloat) return;
    const NumberValues values = parseNumberText(type, text, decimal);
    switch (values.outcome) {
        case NumberOutcome::Parsed:
            FUZZ_CHECK(values.integer >= -2147483647 && std::isfinite(values.floating));
            if (type == etInteger) FUZZ_CHECK(values.floating == values.integer);
            if (type == etFloat)
                FUZZ_CHECK(values.integer ==
                           std::clamp(std::trunc(values.floating), -2147483647.0, 2147483647.0));
            break;
        case NumberOutcome::Empty:
            FUZZ_CHECK(values.integer == 0 && values.floating == 0);
            FUZZ_CHECK(text.find_first_of(u"0123456789-,.") == std::u16string_view::npos);
            break;
        default:
            FUZZ_CHECK(values.integer == 0 && values.floating == 0);
            break;
    }
}

void checkExitRules(std::u16string_view text, TEditAlign align, int length, int precision, char16_t decimal) {
    const std::u16string aligned = alignText(text, align, length);
    const bool fills = length > 0 && static_cast<int>(text.size()) < length;
    if (!fills || align == etAlignNone || align == etAlignValue) {
        FUZZ_CHECK(aligned == text);
    } else {
        // Centred text is one longer than the others.
        FUZZ_CHECK(static_cast<int>(aligned.size()) == length + (align == etAlignCenter ? 1 : 0));
        const std::u16string content(aligned.substr(aligned.find_first_not_of(u' ') == std::u16string::npos
                                                        ? aligned.size()
                                                        : aligned.find_first_not_of(u' ')));
        const std::u16string typed(text.substr(std::min(text.find_first_not_of(u' '), text.size())));
        FUZZ_CHECK(content.compare(0, typed.size(), typed) == 0);
        FUZZ_CHECK(content.find_first_not_of(u' ', typed.size()) == std::u16string::npos);
    }

    const std::u16string zeros = zeroFill(text, length);
    FUZZ_CHECK(zeros.size() == std::max<std::size_t>(text.size(), std::max(length, 0)));
    FUZZ_CHECK(zeros.compare(zeros.size() - text.size(), text.size(), text) == 0);
    FUZZ_CHECK(zeros.find_first_not_of(u'0') >= zeros.size() - text.size());

    // Exactly `precision` decimals; the whole part as typed.
    const std::u16string fixed = fixDecimals(text, precision, decimal);
    const std::u16string typedNumber = text.empty() ? u"0" : std::u16string(text);
    if (precision <= 0) return FUZZ_CHECK(fixed == typedNumber);
    const std::size_t separator = fixed.find(decimal);
    FUZZ_CHECK(separator != std::u16string::npos);
    FUZZ_CHECK(fixed.size() - separator - 1 == static_cast<std::size_t>(precision));
    FUZZ_CHECK(fixed.compare(0, separator, typedNumber, 0, separator) == 0);
}

void checkDateRules(std::u16string_view text, const EditLocale& locale, CivilDate today) {
    if (const auto date = parseDate(text, locale)) {
        FUZZ_CHECK(date->year >= 1 && date->year <= 9999 && date->month >= 1 && date->month <= 12);
        FUZZ_CHECK(date->day >= 1 && date->day <= 31);
        FUZZ_CHECK(parseDate(formatDate(*date, locale), locale) == date);
    }
    const DateCompletion completion = completeDate(text, locale, today);
    const std::u16string digits = digitsOf(text);
    if (locale.dateOrder == DateOrder::YearMonthDay && parseDate(text, locale)) {
        FUZZ_CHECK(completion.text == text);  // already a whole year-first date
    } else if (digits.empty()) {
        FUZZ_CHECK(completion.text == formatDate(today, locale) && completion.date == today);
    } else if (digits.size() > 10) {
        FUZZ_CHECK(completion.text == digits && !completion.date);
    }
    // The text shown is the date kept.
    if (completion.date) FUZZ_CHECK(parseDate(completion.text, locale) == completion.date);
}

void checkTimeRules(std::u16string_view text, bool withSeconds, char16_t separator, ClockTime now) {
    if (const auto time = parseTime(text, separator)) {
        FUZZ_CHECK(time->hour >= 0 && time->hour <= 23 && time->minute >= 0 && time->minute <= 59);
        FUZZ_CHECK(time->second >= 0 && time->second <= 59);
        FUZZ_CHECK(parseTime(formatTime(*time, separator), separator) == time);
        FUZZ_CHECK(timeSerial(*time) >= 0 && timeSerial(*time) < 1);
    }
    const TimeCompletion completion = completeTime(text, withSeconds, separator, now);
    const std::u16string digits = digitsOf(text);
    if (digits.empty()) {
        FUZZ_CHECK(completion.text == formatTime(now, separator) && completion.time == now);
    } else if (digits.size() > (withSeconds ? 8u : 5u)) {
        FUZZ_CHECK(completion.text == digits && !completion.time);
    } else {
        FUZZ_CHECK(completion.text.size() == (withSeconds ? 8u : 5u));
    }
    if (completion.time) FUZZ_CHECK(parseTime(completion.text, separator) == completion.time);
}

}  // namespace
}  // namespace varelo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varelo;
    using namespace varelo::fuzz;

    FuzzInput in(data, size);
    const auto type = static_cast<TEditTypes>(in.byte() % 5);
    const auto align = static_cast<TEditAlign>(in.byte() % 5);
    const int length = static_cast<std::int8_t>(in.byte()) % 120;
    const int precision = in.byte() % 20;
    const std::uint8_t regional = in.byte();
    const char16_t key = in.byte();
    const std::uint8_t when = in.byte(), clock = in.byte();

    EditLocale locale;
    locale.dateOrder = static_cast<DateOrder>((regional & 3) % 3);
    locale.decimal = (regional & 4) ? u',' : u'.';
    locale.dateSeparator = u"/-./"[(regional >> 3) & 3];
    locale.timeSeparator = (regional & 32) ? u'.' : u':';
    const CivilDate today{1 + (when * 40 + clock) % 9999, 1 + when % 12, 1 + clock % 28};
    const ClockTime now{clock % 24, when % 60, (when + clock) % 60};

    std::u16string text;
    for (const char c : in.rest()) text += static_cast<unsigned char>(c);

    checkKeyRules(type, key, text, locale.decimal);
    FUZZ_CHECK(integerTypingLimit(0, text, key) ==
               (text.find(u'-') != std::u16string::npos || key == u'-' ? 11 : 0));
    checkNumberRules(type, text, locale.decimal);
    checkExitRules(text, align, length, precision, locale.decimal);
    checkDateRules(text, locale, today);
    checkTimeRules(text, (regional & 64) != 0, locale.timeSeparator, now);
    return 0;
}
