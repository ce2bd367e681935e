#include "trace/trace_view.h"

#include <cstdio>
#include <ctime>

namespace varelo {

std::int64_t EpochMicroseconds(KernelStamp stamp, const TraceView& view) {
    const KernelStamp wall = stamp + view.wallOffset;
    return wall >= 0 ? wall / 1000 : -((-wall + 999) / 1000);
}

std::string TimeOfDayText(KernelStamp stamp, const TraceView& view) {
    const std::int64_t micros = EpochMicroseconds(stamp, view);
    const std::time_t seconds = static_cast<std::time_t>(micros / 1000000);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%06lld", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<long long>(micros % 1000000));
    return text;
}

std::string MillisecondsText(KernelStamp nanoseconds) {
    const long long micros = nanoseconds / 1000;
    const long long whole = micros / 1000;
    char text[40];
    std::snprintf(text, sizeof text, "%s%lld.%03lld ms", micros < 0 ? "-" : "", whole < 0 ? -whole : whole,
                  (micros < 0 ? -micros : micros) % 1000);
    return text;
}

}  // namespace varelo
