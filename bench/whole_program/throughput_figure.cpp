// The line monitor fed flat out through pseudo-terminals, in Hexa mode with
// headers and time, capturing to a file: bytes per second per port, whether
// every byte reached the capture file, the longest stall of the event loop and
// the CPU the window's thread used.
#include "bench/whole_program/capture_check.h"
#include "bench/whole_program/figures.h"
#include "bench/whole_program/line_feeder.h"
#include "bench/whole_program/process_usage.h"
#include "bench/whole_program/program_under_test.h"
#include "bench/whole_program/stall_watch.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace varelo::bench {

int ThroughputFigure(const BenchOptions& options) {
    using Clock = std::chrono::steady_clock;
    const int ports = options.number("ports", 1) >= 2 ? 2 : 1;
    const std::string figure = ports == 2 ? "throughput-2" : "throughput-1";
    const auto duration = std::chrono::milliseconds(static_cast<long>(options.number("seconds", 10) * 1000));
    const std::string capturePath =
        options.text("dir", "/tmp") + "/varelo-bench-capture-" + std::to_string(::getpid()) + ".txt";

    const auto started = StartOnPtys(figure);
    if (!started) return 0;
    ProgramUnderTest& program = *started->program;
    if (!program.monitorHexaWithHeadersAndTime()) {
        PrintNotMeasured(figure, "the View menu does not set Hexa with headers and time yet");
        return 0;
    }
    if (!program.startCapture(capturePath)) {
        PrintNotMeasured(figure, "the capture did not start: " + program.boxesShown());
        return 0;
    }

    StallWatch stalls;
    stalls.start();
    const double cpuBefore = ThreadCpuSeconds();
    const Clock::time_point start = Clock::now();
    std::array<std::unique_ptr<LineFeeder>, 2> feeders;
    for (int p = 0; p < ports; ++p) feeders[p] = std::make_unique<LineFeeder>(started->lines[p].master());
    RunEventLoopFor(duration);
    std::array<std::uint64_t, 2> written{};
    for (int p = 0; p < ports; ++p) {
        feeders[p]->stop();
        written[p] = feeders[p]->written();
    }
    const auto shownAll = program.waitUntilReceived(static_cast<std::int64_t>(written[0] + written[1]),
                                                    std::chrono::seconds(3));
    const Clock::time_point end = shownAll.value_or(Clock::now());
    const double cpu = ThreadCpuSeconds() - cpuBefore;
    stalls.stop();
    const std::int64_t shown = program.received();
    program.stopCapture();

    if (shown == 0) {
        ::unlink(capturePath.c_str());
        PrintNotMeasured(figure, "nothing reached the screen: the receive path is not wired yet");
        return 0;
    }
    const CaptureContent captured = CheckCapture(capturePath);
    if (options.text("keep", "no") != "yes") ::unlink(capturePath.c_str());

    bool lossless = shownAll.has_value() && captured.readable && captured.malformed == 0;
    for (int p = 0; p < 2; ++p)
        lossless = lossless && captured.bytes[p] == written[p] && captured.mismatches[p] == 0;
    const double seconds = std::chrono::duration<double>(end - start).count();
    std::array<double, 2> mbps{};
    for (int p = 0; p < 2; ++p) mbps[p] = static_cast<double>(written[p]) / seconds / 1e6;
    const double slowest = ports == 2 ? std::min(mbps[0], mbps[1]) : mbps[0];

    PrintResult(figure, {{"mbps", Fixed(slowest, 2)},
                         {"port1_mbps", Fixed(mbps[0], 2)},
                         {"port2_mbps", Fixed(mbps[1], 2)},
                         {"lossless", lossless ? "yes" : "no"},
                         {"stall_ms", Fixed(stalls.longestStallMs(), 1)},
                         {"ui_cpu_pct", Fixed(cpu / seconds * 100, 1)},
                         {"seconds", Fixed(seconds, 2)},
                         {"written", std::to_string(written[0] + written[1])},
                         {"shown", std::to_string(shown)},
                         {"captured", std::to_string(captured.bytes[0] + captured.bytes[1])},
                         {"mismatched", std::to_string(captured.mismatches[0] + captured.mismatches[1])},
                         {"malformed", std::to_string(captured.malformed)},
                         {"blocks", std::to_string(captured.blocks)}});
    return 0;
}

}  // namespace varelo::bench
