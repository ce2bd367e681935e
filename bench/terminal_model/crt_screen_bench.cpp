// Throughput of the terminal's cell model with the screen scrolling all the time.
#include "terminal/crt_screen.h"

#include "bench/terminal_model/scrolling_text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace varelo {
namespace {

// Keeps one deferred repaint "queued", as the view does, and counts the paints.
class QueueDisplay : public CrtDisplay {
  public:
    void invalidateCells(int, int, int) override { ++rowPaints; }
    bool takeBackRepaint() override {
        const bool was = queued;
        queued = false;
        return was;
    }
    void postRepaint() override { queued = true; }
    void paintAll() override { ++fullPaints; }
    void fillBackground(Colour) override {}
    void beep() override {}

    bool queued = false;
    long rowPaints = 0;
    long fullPaints = 0;
};

void WriteScrollingLines(benchmark::State& state) {
    QueueDisplay display;
    CrtScreen screen(&display);
    screen.SetColumns(88);
    const std::string block = scrollingText(static_cast<std::size_t>(state.range(0)));
    const auto* data = reinterpret_cast<const std::uint8_t*>(block.data());
    for (auto _ : state) {
        screen.WriteBuffer(data, block.size());
        if (display.queued) {  // the event loop delivers the deferred repaint between blocks
            display.queued = false;
            screen.RepaintAll();
        }
        benchmark::DoNotOptimize(screen.CurX());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size()));
    state.counters["full_paints_per_block"] =
        benchmark::Counter(static_cast<double>(display.fullPaints) / static_cast<double>(state.iterations()));
}
BENCHMARK(WriteScrollingLines)->Arg(2048)->Arg(64 * 1024);

// Printable bytes only, the wrap doing every line break.
void WriteWrappingText(benchmark::State& state) {
    QueueDisplay display;
    CrtScreen screen(&display);
    screen.SetColumns(88);
    std::string block(2048, 'x');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(' ' + i % 95);
    const auto* data = reinterpret_cast<const std::uint8_t*>(block.data());
    for (auto _ : state) {
        screen.WriteBuffer(data, block.size());
        if (display.queued) {
            display.queued = false;
            screen.RepaintAll();
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size()));
}
BENCHMARK(WriteWrappingText);

}  // namespace
}  // namespace varelo
