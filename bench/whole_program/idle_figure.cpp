// What Varelo costs while it waits: both ports open and polling at the window's
// delay, nothing arriving. The share of one core the whole process uses.
#include "bench/whole_program/figures.h"
#include "bench/whole_program/process_usage.h"
#include "bench/whole_program/program_under_test.h"

#include "widgets/spin_edit.h"

namespace varelo::bench {

int IdleFigure(const BenchOptions& options) {
    using Clock = std::chrono::steady_clock;
    const auto duration = std::chrono::milliseconds(static_cast<long>(options.number("seconds", 60) * 1000));
    const auto started = StartOnPtys("idle");
    if (!started) return 0;
    ProgramUnderTest& program = *started->program;
    // Start-up's own work (fonts, first paints) settles first.
    RunEventLoopFor(std::chrono::seconds(1));
    const double cpuBefore = ProcessCpuSeconds();
    const Clock::time_point start = Clock::now();
    RunEventLoopFor(duration);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    PrintResult("idle", {{"cpu_pct", Fixed(cpu / seconds * 100, 3)},
                         {"cpu_ms", Fixed(cpu * 1000, 1)},
                         {"seconds", Fixed(seconds, 1)},
                         {"polling_ms", std::to_string(program.window().SEDelay->value())}});
    return 0;
}

}  // namespace varelo::bench
