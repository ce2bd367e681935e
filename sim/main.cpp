// varelo-sim: plays the far end of a serial line (MODBUS slaves, a scale or a
// loop-back plug) so that Varelo can be shown and tested without equipment.

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "sim/bus_role.h"
#include "sim/line_loop.h"
#include "sim/loop_role.h"
#include "sim/scale_role.h"
#include "sim/serial_line.h"
#include "sim/sim_options.h"
#include "sim/stop_signals.h"

namespace {

using namespace varelo;

CivilTime localTime() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

std::unique_ptr<LineRole> makeRole(const SimOptions& options) {
    switch (options.role) {
        case SimRoleKind::Scale:
            return std::make_unique<ScaleRole>(options.scalePeriod, localTime,
                                               static_cast<std::uint32_t>(std::time(nullptr)),
                                               options.pacing);
        case SimRoleKind::Loop:
            return std::make_unique<LoopRole>(options.pacing);
        case SimRoleKind::Bus:
            break;
    }
    BusOptions bus = options.bus;
    bus.baud = options.baud;
    return std::make_unique<BusRole>(bus, options.pacing);
}

std::string describe(const SimOptions& options) {
    switch (options.role) {
        case SimRoleKind::Scale:
            return "scale";
        case SimRoleKind::Loop:
            return "loop-back";
        case SimRoleKind::Bus:
            break;
    }
    const StationRange stations = options.bus.stations;
    return "MODBUS slaves " + std::to_string(stations.first) + "-" + std::to_string(stations.last);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = ParseSimOptions(args);
    if (const auto* refused = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr, "varelo-sim: %s\n", refused->c_str());
        return 2;
    }
    const SimOptions& options = std::get<SimOptions>(parsed);
    if (options.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }

    StopSignals stopSignals;
    auto opened = SerialLine::open(options.device, options.baud);
    if (const auto* reason = std::get_if<std::string>(&opened)) {
        std::fprintf(stderr, "varelo-sim: %s\n", reason->c_str());
        return 1;
    }
    const std::unique_ptr<LineRole> role = makeRole(options);
    // The line that tells a script the device is held and served.
    std::printf("varelo-sim: %s on %s, %d baud\n", describe(options).c_str(), options.device.c_str(),
                options.baud);
    std::fflush(stdout);
    return RunLine(options.device, options.baud, std::move(std::get<SerialLine>(opened)), *role,
                   stopSignals.fd());
}
