// Memory under a long flood of both ports (Hexa, headers and time, capturing
// to /dev/null so that the disk is not the limit): the peak resident size, and
// how much the resident size grew after the first fifth of the run.
#include "bench/whole_program/figures.h"
#include "bench/whole_program/line_feeder.h"
#include "bench/whole_program/process_usage.h"
#include "bench/whole_program/program_under_test.h"

#include <algorithm>
#include <vector>

namespace varelo::bench {

int MemoryFigure(const BenchOptions& options) {
    const int seconds = std::max(5, static_cast<int>(options.number("seconds", 300)));
    const auto started = StartOnPtys("memory");
    if (!started) return 0;
    ProgramUnderTest& program = *started->program;
    if (!program.monitorHexaWithHeadersAndTime()) {
        PrintNotMeasured("memory", "the View menu does not set Hexa with headers and time yet");
        return 0;
    }
    if (!program.startCapture("/dev/null")) {
        PrintNotMeasured("memory", "the capture did not start: " + program.boxesShown());
        return 0;
    }

    std::vector<double> resident;  // one sample per second
    {
        LineFeeder feed1(started->lines[0].master());
        LineFeeder feed2(started->lines[1].master());
        for (int s = 0; s < seconds; ++s) {
            RunEventLoopFor(std::chrono::seconds(1));
            resident.push_back(ResidentMb());
        }
    }
    const double receivedMb = static_cast<double>(program.received()) / 1e6;
    program.stopCapture();
    if (program.received() == 0) {
        PrintNotMeasured("memory", "nothing reached the screen: the receive path is not wired yet");
        return 0;
    }
    // "Growth" compares the end with the sample after the first fifth (one minute
    // of five): by then every buffer has reached its working size.
    const double settled = resident[resident.size() / 5];
    PrintResult("memory", {{"peak_mb", Fixed(PeakResidentMb(), 1)},
                           {"growth_mb", Fixed(resident.back() - settled, 2)},
                           {"settled_mb", Fixed(settled, 1)},
                           {"end_mb", Fixed(resident.back(), 1)},
                           {"received_mb", Fixed(receivedMb, 0)},
                           {"seconds", std::to_string(seconds)}});
    return 0;
}

}  // namespace varelo::bench
