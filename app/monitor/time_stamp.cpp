#include "app/monitor/time_stamp.h"

#include "util/text_helpers.h"

namespace varelo {

std::string TimeStampText(const TimeOfDay& time) {
    const std::string joined = std::to_string(time.hour) + ':' + std::to_string(time.minute) + ':' +
                               std::to_string(time.second) + ':' + std::to_string(time.millisecond);
    return AlignLeft(joined, 12) + "->";
}

}  // namespace varelo
