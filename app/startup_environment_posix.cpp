#include "app/startup_environment.h"

#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace varelo {

// Qt aborts with a long message when it finds no display; say it plainly instead.
bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// The kernel keeps the process's start time in clock ticks since boot, so the figure
// moves in steps of one tick.
double MsSinceProcessStart() {
    std::ifstream file("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));  // after the command name
    std::string field;
    for (int i = 3; i < 22 && fields >> field;) ++i;  // fields 3 to 21
    unsigned long long startTicks = 0;
    fields >> startTicks;
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs - static_cast<double>(startTicks) * 1e3 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

}  // namespace varelo
