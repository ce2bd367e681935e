// Varelo's own start-up, from starting the process to its main window shown:
// the program is started as a user would (on the display given by DISPLAY),
// with VARELO_REPORT_STARTUP=1 so that it reports its first paint and quits.
// Timed twice: by this launcher, from the spawn to the report's arrival, and
// by the program itself from its process start time.
#include "bench/whole_program/child_process.h"
#include "bench/whole_program/figures.h"
#include "bench/whole_program/pty_pair.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace varelo::bench {

int StartupFigure(const BenchOptions& options) {
    using Clock = std::chrono::steady_clock;
    const std::string program = options.text("program", "varelo");
    const int runs = static_cast<int>(options.number("runs", 5));
    if (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY")) {
        PrintNotMeasured("startup", "no display: run under xvfb-run");
        return 1;
    }
    // The first start fills the file caches; it is not counted.
    for (int run = -1; run < runs; ++run) {
        PtyPair line1, line2;
        const Clock::time_point start = Clock::now();
        ChildProcess varelo({program}, ChildProcess::Capture::Stderr,
                            {"VARELO_COM1=" + line1.slavePath(), "VARELO_COM2=" + line2.slavePath(),
                             "VARELO_REPORT_STARTUP=1", "QT_QPA_PLATFORM=xcb"});
        const auto report = varelo.waitForLine("window shown", std::chrono::seconds(20));
        const double launcherMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const bool ended = varelo.waitForExit(std::chrono::seconds(5));
        if (!report) {
            PrintNotMeasured("startup", "the program did not report its first paint (VARELO_REPORT_STARTUP)");
            return 0;
        }
        if (run < 0) continue;
        double selfMs = -1;
        const std::size_t at = report->find("shown ");
        if (at != std::string::npos) selfMs = std::strtod(report->c_str() + at + 6, nullptr);
        PrintResult(
            "startup",
            {{"ms", Fixed(launcherMs, 1)}, {"self_ms", Fixed(selfMs, 1)}, {"quit", ended ? "yes" : "no"}});
    }
    return 0;
}

}  // namespace varelo::bench
