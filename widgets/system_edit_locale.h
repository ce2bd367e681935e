#pragma once

#include "widgets/edit_locale.h"

namespace varelo {

// The desktop's regional settings for the typed edit fields: the decimal
// separator, the short date format's order and separator, the long time
// format's separator.
EditLocale systemEditLocale();

}  // namespace varelo
