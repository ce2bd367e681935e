#pragma once

#include <chrono>
#include <string>
#include <variant>
#include <vector>

#include "sim/bus_role.h"
#include "sim/output_queue.h"

namespace varelo {

enum class SimRoleKind { Bus, Scale, Loop };

struct SimOptions {
    SimRoleKind role = SimRoleKind::Bus;
    BusOptions bus;
    OutputPacing pacing;
    int baud = 9600;  // the line's rate
    std::chrono::milliseconds scalePeriod{1000};
    std::string device;
    bool help = false;
};

// The command line (without the program name), or the one-line reason it is
// refused.
std::variant<SimOptions, std::string> ParseSimOptions(const std::vector<std::string>& args);

// What --help prints.
std::string SimUsage();

}  // namespace varelo
