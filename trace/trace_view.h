#pragma once

#include "serial/kernel_blocks.h"
#include "trace/trace_options.h"

#include <array>
#include <string>

namespace varelo {

// What every rendering of a run needs to know besides the telegram itself.
struct TraceView {
    std::array<std::string, 2> names;  // alias, else the device's path
    std::size_t lineCount = 1;
    // Wall-clock time minus the monotonic clock, both in nanoseconds, taken once per
    // run: stamps keep their order and spacing, and show as times of day.
    KernelStamp wallOffset = 0;
    RenderMode mode = RenderMode::Text;
    std::vector<std::string> fieldNames;  // fields the analysers add, in column order
};

std::int64_t EpochMicroseconds(KernelStamp stamp, const TraceView& view);
// "13:20:01.123456", local time.
std::string TimeOfDayText(KernelStamp stamp, const TraceView& view);
// "1000.123 ms", "-0.250 ms".
std::string MillisecondsText(KernelStamp nanoseconds);

}  // namespace varelo
