#pragma once

#include <string>

namespace varelo {

// The desktop's regional settings as the telegrams use them. Texts are byte
// strings in the program's code page. The window answers from the system locale;
// tests use fixed answers.
class RegionalSettings {
  public:
    virtual ~RegionalSettings() = default;
    // Today's date in the short date format, e.g. "09/12/2026".
    virtual std::string ShortDateText() const = 0;
    // The time now in the long time format, e.g. "14:30:05".
    virtual std::string LongTimeText() const = 0;
    // The separator between the whole and the decimal part of a number, e.g. ",".
    virtual std::string DecimalSeparator() const = 0;
};

}  // namespace varelo
