// What Varelo costs while it waits: both ports open and polling at the window's
// delay, nothing arriving. The share of one core the whole process uses. With
// --floor yes: the same for a bare event loop with one 50 ms timer instead.
#include "bench/whole_program/figures.h"
#include "bench/whole_program/process_usage.h"
#include "bench/whole_program/program_under_test.h"

#include "widgets/spin_edit.h"

#include <QTimer>

namespace varelo::bench {

namespace {

// The share of one core the process uses while the event loop runs this long.
double cpuPercentOver(std::chrono::milliseconds duration) {
    using Clock = std::chrono::steady_clock;
    const double cpuBefore = ProcessCpuSeconds();
    const Clock::time_point start = Clock::now();
    RunEventLoopFor(duration);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return (ProcessCpuSeconds() - cpuBefore) / seconds * 100;
}

}  // namespace

int IdleFigure(const BenchOptions& options) {
    const auto duration = std::chrono::milliseconds(static_cast<long>(options.number("seconds", 60) * 1000));
    if (options.text("floor", "no") == "yes") {
        // What any Qt program pays on this machine to wake every 50 ms and do nothing.
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [] {});
        timer.start(50);
        RunEventLoopFor(std::chrono::seconds(1));
        PrintResult("idle-floor", {{"cpu_pct", Fixed(cpuPercentOver(duration), 3)}});
        return 0;
    }
    const auto started = StartOnPtys("idle");
    if (!started) return 0;
    ProgramUnderTest& program = *started->program;
    // Start-up's own work (fonts, first paints) settles first.
    RunEventLoopFor(std::chrono::seconds(1));
    PrintResult("idle", {{"cpu_pct", Fixed(cpuPercentOver(duration), 3)},
                         {"polling_ms", std::to_string(program.window().SEDelay->value())}});
    return 0;
}

}  // namespace varelo::bench
