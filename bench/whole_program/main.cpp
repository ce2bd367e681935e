// Whole-program benchmarks: one figure per invocation, chosen by the first
// argument. bench/run calls this several times per figure and sums up.
#include "bench/whole_program/figures.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: bench_whole_program <figure> [--option value ...]\n"
    "figures: throughput (--ports 1|2 --seconds S --dir D), idle (--seconds S),\n"
    "         memory (--seconds S), scheduler (--period MS --seconds S),\n"
    "         tag (--seconds S --sim PATH), startup (--program PATH --runs N),\n"
    "         compare (--seconds S), noise (--mode hexa|ascii|ctrl --seconds S)\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace varelo::bench;
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string figure = argv[1];
    const auto options = BenchOptions::parse(std::vector<std::string>(argv + 2, argv + argc));
    if (!options) return 2;

    // These two start other programs and need no window of their own.
    if (figure == "startup") return StartupFigure(*options);
    if (figure == "compare") return CompareFigure(*options);

    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    if (figure == "throughput") return ThroughputFigure(*options);
    if (figure == "idle") return IdleFigure(*options);
    if (figure == "memory") return MemoryFigure(*options);
    if (figure == "scheduler") return SchedulerFigure(*options);
    if (figure == "tag") return TagFigure(*options);
    if (figure == "noise") return NoiseFigure(*options);
    std::fputs(kUsage, stderr);
    return 2;
}
