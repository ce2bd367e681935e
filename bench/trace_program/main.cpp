// varelo-trace's figures: one per invocation, chosen by the first argument.
#include "bench/trace_program/trace_figures.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace varelo::bench;
    constexpr const char* kUsage =
        "usage: bench_trace <figure> [--option value ...]\n"
        "figures: flood (--reader trace|cat|picocom --seconds S), stamp (--rate N --seconds S),\n"
        "         idle (--seconds S), modbus-replay; each with --trace PATH --dir FOLDER\n";
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string figure = argv[1];
    const auto options = BenchOptions::parse(std::vector<std::string>(argv + 2, argv + argc));
    if (!options) return 2;
    if (figure == "flood") return TraceFloodFigure(*options);
    if (figure == "stamp") return TraceStampFigure(*options);
    if (figure == "idle") return TraceIdleFigure(*options);
    if (figure == "modbus-replay") return TraceModbusReplayFigure(*options);
    std::fputs(kUsage, stderr);
    return 2;
}
