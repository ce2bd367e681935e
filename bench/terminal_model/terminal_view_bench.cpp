// The whole terminal view offscreen: blocks written with one WriteString each,
// the event loop running between blocks as it does between receive events.
#include "terminal/terminal_view.h"

#include "bench/terminal_model/scrolling_text.h"

#include <QApplication>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <string>

namespace varelo {
namespace {

// Made once and left to the end of the process: tearing it down among the
// static destructors would outlive the platform plugin.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_terminal_model";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* instance = new QApplication(argc, argv);
    (void)instance;
}

struct PaintCounter : QObject {
    long paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// range(0): block size. range(1): 0 = one colour, 1 = each block behind a header
// in the port's colours and its data in black on white, as the line monitor writes them.
// range(2): 1 = the data runs through every byte value the view stores.
void ViewWriteStringBlocks(benchmark::State& state) {
    ensureApplication();
    TQVBcrt view;
    view.SetColumns(88);
    view.show();
    PaintCounter counter;
    view.installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    const bool headers = state.range(1) == 1;
    const std::string block = scrollingText(static_cast<std::size_t>(state.range(0)), state.range(2) == 1);
    for (auto _ : state) {
        if (headers) {
            view.SetTextColor(colours::Red);
            view.SetBackColor(colours::Aqua);
            view.WriteString("\rP1->");
            view.SetTextColor(colours::Black);
            view.SetBackColor(colours::White);
        }
        view.WriteString(block);
        QCoreApplication::processEvents();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size()));
    state.counters["paints_per_block"] =
        benchmark::Counter(static_cast<double>(counter.paints) / static_cast<double>(state.iterations()));
}
BENCHMARK(ViewWriteStringBlocks)
    ->Args({2048, 0, 0})
    ->Args({2048, 1, 0})
    ->Args({64 * 1024, 1, 0})
    ->Args({2048, 0, 1})
    ->Args({64 * 1024, 1, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varelo
