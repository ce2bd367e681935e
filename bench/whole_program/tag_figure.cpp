// A tag reading session against the simulator's tag reader (station 1) on the
// far end of a socat line pair: the time between two complete passes (the step
// count reaching 4), and the passes lost on the way.
#include "bench/whole_program/child_process.h"
#include "bench/whole_program/figures.h"
#include "bench/whole_program/interval_stats.h"
#include "bench/whole_program/program_under_test.h"
#include "bench/whole_program/pty_pair.h"

#include "modbus/ui/tag_data_window.h"
#include "widgets/spin_edit.h"

#include <QLabel>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <thread>

namespace varelo::bench {
namespace {

bool waitForPath(const std::filesystem::path& path, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::error_code error;
    while (!std::filesystem::exists(path, error)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace

int TagFigure(const BenchOptions& options) {
    namespace fs = std::filesystem;
    using Clock = std::chrono::steady_clock;
    const auto duration = std::chrono::milliseconds(static_cast<long>(options.number("seconds", 20) * 1000));
    const std::string sim = options.text("sim", "varelo-sim");

    const fs::path folder = fs::temp_directory_path() / ("varelo-bench-tag-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string com1 = (folder / "com1").string();
    const std::string simEnd = (folder / "sim").string();
    ChildProcess socat({"socat", "pty,raw,echo=0,link=" + com1, "pty,raw,echo=0,link=" + simEnd},
                       ChildProcess::Capture::None);
    if (!socat.started() || !waitForPath(com1, std::chrono::seconds(5)) ||
        !waitForPath(simEnd, std::chrono::seconds(5))) {
        PrintNotMeasured("tag", "socat did not make the line pair");
        fs::remove_all(folder);
        return 1;
    }
    ChildProcess bus({sim, "--role", "bus", simEnd}, ChildProcess::Capture::Stdout);
    if (!bus.started() || !bus.waitForLine("varelo-sim:", std::chrono::seconds(5))) {
        PrintNotMeasured("tag", "the simulator did not start (" + sim + ")");
        fs::remove_all(folder);
        return 1;
    }

    PtyPair line2;
    int passes = 0;
    std::vector<Clock::time_point> passEnds;
    {
        ProgramUnderTest program(com1, line2.slavePath());
        if (!program.portsOpen()) {
            PrintNotMeasured("tag", "the ports did not open: " + program.boxesShown());
            fs::remove_all(folder);
            return 0;
        }
        program.boxes().inputAnswers.push_back("1");  // the station
        ProgramUnderTest::click(program.window().LeerParvolin1);
        if (!program.shared().TagSession) {
            PrintNotMeasured("tag", "the tag reading command does not start a session yet");
            fs::remove_all(folder);
            return 0;
        }
        // A pass ends when the step count shows 4; the label is looked at far more
        // often than its 400 ms steps.
        QLabel* step = program.tagWindow().LabelPaso;
        QString last = step->text();
        QTimer watch;
        watch.setTimerType(Qt::PreciseTimer);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const QString now = step->text();
            if (now != last && now == "4") passEnds.push_back(Clock::now());
            last = now;
        });
        watch.start(5);
        RunEventLoopFor(duration);
        watch.stop();
        ProgramUnderTest::click(program.window().Cortar1);
        passes = static_cast<int>(passEnds.size());
    }
    bus.end();
    socat.end();
    fs::remove_all(folder);

    if (passes < 2) {
        PrintNotMeasured("tag", "only " + std::to_string(passes) + " complete passes in the run");
        return 0;
    }
    std::vector<double> intervals;
    for (std::size_t i = 1; i < passEnds.size(); ++i)
        intervals.push_back(std::chrono::duration<double, std::milli>(passEnds[i] - passEnds[i - 1]).count());
    // A pass takes four ticks; a gap of eight or more ticks is a pass lost.
    const double passMs = 4 * 400.0;
    long lost = 0;
    for (double gap : intervals) lost += std::max(0L, std::lround(gap / passMs) - 1);
    PrintResult("tag", {{"pass_ms", Fixed(Median(intervals), 1)},
                        {"longest_pass_ms", Fixed(*std::max_element(intervals.begin(), intervals.end()), 1)},
                        {"shortest_pass_ms", Fixed(*std::min_element(intervals.begin(), intervals.end()), 1)},
                        {"passes", std::to_string(passes)},
                        {"lost_passes", std::to_string(lost)}});
    return 0;
}

}  // namespace varelo::bench
