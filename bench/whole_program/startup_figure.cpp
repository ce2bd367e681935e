// Varelo's own start-up, from starting the process to its main window shown:
// the program is started as a user would (on the display given by DISPLAY),
// with VARELO_REPORT_STARTUP=1 so that it reports its first paint and quits.
// Timed twice: by this launcher, from the spawn to the report's arrival, and
// by the program itself from its process start time. With --floor, a bare Qt
// window is started the same way after each run, as the floor Qt and the display
// set on this machine.
#include "bench/whole_program/child_process.h"
#include "bench/whole_program/figures.h"
#include "bench/whole_program/pty_pair.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace varelo::bench {

namespace {

// Milliseconds from the spawn to the line that reports the first paint, or a
// negative number when none came.
double timeToFirstPaint(const std::string& program, const std::vector<std::string>& environment,
                        std::optional<std::string>& report) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    ChildProcess child({program}, ChildProcess::Capture::Stderr, environment);
    report = child.waitForLine("window shown", std::chrono::seconds(20));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    child.waitForExit(std::chrono::seconds(5));
    return report ? ms : -1;
}

}  // namespace

int StartupFigure(const BenchOptions& options) {
    const std::string program = options.text("program", "varelo");
    const std::string floor = options.text("floor", "");
    const int runs = static_cast<int>(options.number("runs", 5));
    if (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY")) {
        PrintNotMeasured("startup", "no display: run under xvfb-run");
        return 1;
    }
    // The first start fills the file caches; it is not counted.
    for (int run = -1; run < runs; ++run) {
        PtyPair line1, line2;
        std::optional<std::string> report;
        const double launcherMs =
            timeToFirstPaint(program,
                             {"VARELO_COM1=" + line1.slavePath(), "VARELO_COM2=" + line2.slavePath(),
                              "VARELO_REPORT_STARTUP=1", "QT_QPA_PLATFORM=xcb"},
                             report);
        if (!report) {
            PrintNotMeasured("startup", "the program did not report its first paint (VARELO_REPORT_STARTUP)");
            return 0;
        }
        if (run < 0) continue;
        double selfMs = -1;
        const std::size_t at = report->find("shown ");
        if (at != std::string::npos) selfMs = std::strtod(report->c_str() + at + 6, nullptr);
        std::vector<std::pair<std::string, std::string>> values = {{"ms", Fixed(launcherMs, 1)},
                                                                   {"self_ms", Fixed(selfMs, 1)}};
        if (!floor.empty()) {
            std::optional<std::string> bare;
            values.push_back(
                {"bare_qt_ms", Fixed(timeToFirstPaint(floor, {"QT_QPA_PLATFORM=xcb"}, bare), 1)});
        }
        PrintResult("startup", values);
    }
    return 0;
}

}  // namespace varelo::bench
