// The transmission scheduler's period as the far end sees it: "Code of 11 Char"
// on port 1 at the period asked for, each telegram timed as it arrives. The timer
// rests while a tick runs and starts its period again at the tick's end, so an
// interval is the period plus the tick's own time (the send and its echo): that
// time is measured too, around the window's own tick handler.
#include "bench/whole_program/figures.h"
#include "bench/whole_program/interval_stats.h"
#include "bench/whole_program/line_reader.h"
#include "bench/whole_program/program_under_test.h"

#include "platform/ui/handler_guard.h"
#include "widgets/spin_edit.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace varelo::bench {
namespace {

constexpr std::size_t kTelegramBytes = 11;

// The n-th code from start-up: prefixes in turn, the counter going down.
std::string expectedCode(std::size_t n) {
    static const std::array<const char*, 6> prefixes = {"XL", "YL", "SS", "TS", "L0", "R0"};
    return std::string(prefixes[n % 6]) + std::to_string(123456789 - static_cast<long>(n));
}

}  // namespace

int SchedulerFigure(const BenchOptions& options) {
    const int period = static_cast<int>(options.number("period", 1000));
    const std::string figure = "scheduler-" + std::to_string(period);
    const auto duration = std::chrono::milliseconds(static_cast<long>(options.number("seconds", 30) * 1000));
    const auto started = StartOnPtys(figure);
    if (!started) return 0;
    ProgramUnderTest& program = *started->program;
    TFmEscuchar& window = program.window();
    window.SEFrecuencia->setValue(period);
    LineReader farEnd(started->lines[0].master());
    // The tick as the window runs it, timed.
    std::vector<double> ticks;
    window.Timer1.setOnTimer([&] {
        const auto start = std::chrono::steady_clock::now();
        runGuarded(program.boxes(), [&] { window.Timer1Timer(); });
        ticks.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    });
    ProgramUnderTest::click(window.TLGTipo1);
    if (!window.State.Sending) {
        PrintNotMeasured(figure, "the Send menu does not start the scheduler yet");
        return 0;
    }
    RunEventLoopFor(duration);
    ProgramUnderTest::click(window.Cortar1);
    RunEventLoopFor(std::chrono::milliseconds(50));
    farEnd.stop();

    // Each telegram is timed by the piece that brought its first byte.
    std::vector<std::chrono::steady_clock::time_point> arrivals;
    std::string stream;
    for (const auto& piece : farEnd.pieces()) {
        for (std::size_t at = stream.size(); at < stream.size() + piece.bytes.size(); ++at) {
            if (at % kTelegramBytes == 0) arrivals.push_back(piece.at);
        }
        stream += piece.bytes;
    }
    std::size_t wrong = 0;
    for (std::size_t n = 0; n < arrivals.size(); ++n) {
        if (stream.compare(n * kTelegramBytes, kTelegramBytes, expectedCode(n)) != 0) ++wrong;
    }
    if (arrivals.size() < 4) {
        PrintNotMeasured(figure, "only " + std::to_string(arrivals.size()) + " telegrams arrived");
        return 0;
    }
    std::vector<double> intervals;
    for (std::size_t i = 1; i < arrivals.size(); ++i)
        intervals.push_back(std::chrono::duration<double, std::milli>(arrivals[i] - arrivals[i - 1]).count());
    const double median = Median(intervals);
    const double tick = Median(ticks);
    PrintResult(figure, {{"excess_ms", Fixed(median - period, 3)},
                         {"tick_ms", Fixed(tick, 3)},
                         {"excess_over_tick_ms", Fixed(median - period - tick, 3)},
                         {"median_ms", Fixed(median, 3)},
                         {"min_ms", Fixed(*std::min_element(intervals.begin(), intervals.end()), 3)},
                         {"max_ms", Fixed(*std::max_element(intervals.begin(), intervals.end()), 3)},
                         {"drift_ms", Fixed(MedianOfLastThird(intervals) - MedianOfFirstThird(intervals), 3)},
                         {"telegrams", std::to_string(arrivals.size())},
                         {"wrong", std::to_string(wrong)},
                         {"period_ms", std::to_string(period)}});
    return 0;
}

}  // namespace varelo::bench
