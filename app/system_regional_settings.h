#pragma once

#include "app/monitor/regional_settings.h"

#include <QString>

namespace varelo {

// The desktop's regional settings, read from the system locale at each call, as
// Windows-1252 byte strings.
class SystemRegionalSettings final : public RegionalSettings {
  public:
    std::string ShortDateText() const override;
    // The long time format without its time zone: hours, minutes and seconds as
    // the desktop writes them ("14:30:05", "2:30:05 PM").
    std::string LongTimeText() const override;
    std::string DecimalSeparator() const override;
};

// A locale's time format with its time-zone fields (and the blanks around them) taken out.
QString TimeFormatWithoutZone(const QString& format);

}  // namespace varelo
