// Noise drill: random bytes at full speed on both ports for a long while, in
// one display mode, one telegram per line with its time, capturing to
// /dev/null. Memory must stay flat and the window must never stall for long.
#include "bench/whole_program/figures.h"
#include "bench/whole_program/line_feeder.h"
#include "bench/whole_program/process_usage.h"
#include "bench/whole_program/program_under_test.h"
#include "bench/whole_program/stall_watch.h"

#include <QAction>

#include <algorithm>
#include <map>
#include <vector>

namespace varelo::bench {

int NoiseFigure(const BenchOptions& options) {
    const std::string mode = options.text("mode", "hexa");
    const int seconds = std::max(4, static_cast<int>(options.number("seconds", 600)));
    const std::string figure = "noise-" + mode;
    const auto started = StartOnPtys(figure);
    if (!started) return 0;
    ProgramUnderTest& program = *started->program;
    TFmEscuchar& window = program.window();
    const std::map<std::string, QAction*> modeItems = {{"hexa", window.Hexadecimal1},
                                                       {"ascii", window.AsciiHexadecimal1},
                                                       {"ctrl", window.CtrlASCIIHexadecimal1}};
    const auto item = modeItems.find(mode);
    if (item == modeItems.end()) {
        PrintNotMeasured(figure, "unknown mode (hexa, ascii or ctrl)");
        return 2;
    }
    // The item of the mode in force is disabled: clicking it changes nothing.
    ProgramUnderTest::click(item->second);
    ProgramUnderTest::click(window.SaltardeLineayHoraporTlg1);
    if (!program.startCapture("/dev/null")) {
        PrintNotMeasured(figure, "the capture did not start: " + program.boxesShown());
        return 0;
    }

    std::vector<double> resident;  // one sample per second
    StallWatch stalls;
    std::uint64_t written[2] = {};
    {
        LineFeeder feed1(started->lines[0].master(), FeedContent::Noise);
        LineFeeder feed2(started->lines[1].master(), FeedContent::Noise);
        stalls.start();
        for (int s = 0; s < seconds; ++s) {
            RunEventLoopFor(std::chrono::seconds(1));
            resident.push_back(ResidentMb());
        }
        stalls.stop();
        written[0] = feed1.written();
        written[1] = feed2.written();
    }
    program.stopCapture();
    const double half = resident[resident.size() / 2];
    PrintResult(figure, {{"start_mb", Fixed(resident.front(), 1)},
                         {"end_mb", Fixed(resident.back(), 1)},
                         {"peak_mb", Fixed(PeakResidentMb(), 1)},
                         {"growth_last_half_mb", Fixed(resident.back() - half, 2)},
                         {"longest_stall_ms", Fixed(stalls.longestStallMs(), 1)},
                         {"port1_mb", Fixed(static_cast<double>(written[0]) / 1e6, 1)},
                         {"port2_mb", Fixed(static_cast<double>(written[1]) / 1e6, 1)},
                         {"shown_mb", Fixed(static_cast<double>(program.received()) / 1e6, 1)},
                         {"error_boxes", std::to_string(program.boxes().texts("runtime").size())},
                         {"seconds", std::to_string(seconds)}});
    return 0;
}

}  // namespace varelo::bench
