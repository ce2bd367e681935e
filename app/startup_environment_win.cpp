#include "app/startup_environment.h"

#include <windows.h>

namespace varelo {

// A Windows desktop always has one.
bool DisplayAvailable() {
    return true;
}

double MsSinceProcessStart() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    ::GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& t) {  // 100 ns since 1601
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 1e4;
}

}  // namespace varelo
