#include "app/system_regional_settings.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace varelo::test {
namespace {

TEST(SystemRegionalSettings, TheLongTimeFormatLosesOnlyItsTimeZone) {
    const std::vector<std::pair<const char*, const char*>> formats = {
        {"HH:mm:ss t", "HH:mm:ss"},
        {"h:mm:ss AP t", "h:mm:ss AP"},
        {"t HH:mm:ss", "HH:mm:ss"},
        {"HH:mm:ss tttt", "HH:mm:ss"},
        {"HH 'Uhr' mm t", "HH 'Uhr' mm"},  // a t inside quotes is text
        {"HH:mm:ss", "HH:mm:ss"},
    };
    for (const auto& [format, expected] : formats)
        EXPECT_EQ(TimeFormatWithoutZone(QString::fromLatin1(format)).toStdString(), expected) << format;
}

}  // namespace
}  // namespace varelo::test
