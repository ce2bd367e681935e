// Rendering of received blocks and the whole receive path into a view that
// draws nothing, with and without a capture file in /tmp. Bytes per second
// count received bytes (each Hexa byte becomes four on the view and in the file).
#include "app/monitor/byte_rendering.h"
#include "app/monitor/capture_file.h"
#include "app/monitor/monitor_state.h"
#include "app/monitor/monitor_view.h"
#include "app/monitor/receive_path.h"
#include "platform/clock.h"
#include "util/shared_state.h"

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <random>
#include <string>

namespace varelo {
namespace {

constexpr std::size_t BlockSize = 2048;

std::string randomBlock() {
    std::mt19937 random(7);
    std::string block(BlockSize, '\0');
    for (auto& c : block) c = static_cast<char>(random() & 0xFF);
    return block;
}

class NullView final : public MonitorView {
  public:
    std::size_t written = 0;
    void WriteString(std::string_view text) override { written += text.size(); }
    void WriteChar(char) override { ++written; }
    void SetTextColor(Colour) override {}
    void SetBackColor(Colour) override {}
};

class NoonClock final : public WallClock {
  public:
    TimeOfDay now() const override { return {12, 34, 56, 789}; }
};

class QuietWindow final : public ReceiveWindow {
  public:
    bool Return485Checked() const override { return true; }
    void StopTimerModBus() override {}
    void ProcessTagResponse(const std::string&) override {}
    void SetEditLng(const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
};

void BM_RenderBlock(benchmark::State& st) {
    const DisplayMode mode{st.range(0) == 2, st.range(0) == 1};
    const std::string block = randomBlock();
    std::string rendered;
    for (auto _ : st) {
        RenderBlockInto(rendered, block, mode);
        benchmark::DoNotOptimize(rendered.data());
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations() * block.size()));
    st.SetLabel(st.range(0) == 2 ? "Hexa" : st.range(0) == 1 ? "Ctrl - ASCII - Hexa" : "ASCII - Hexa");
}
BENCHMARK(BM_RenderBlock)->Arg(0)->Arg(1)->Arg(2);

// Hexa mode, one line per telegram with the time: the heaviest display.
void BM_ShowReceivedHexa(benchmark::State& st) {
    const bool capturing = st.range(0) != 0;
    MonitorState state;
    state.HexMode = true;
    state.SkipLine = true;
    state.ShowTime = true;
    SharedState shared;
    NullView view;
    CaptureFile capture;
    char path[] = "/tmp/varelo-bench-capture-XXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0) ::close(fd);
    if (capturing && !capture.open(path)) {
        st.SkipWithError("cannot open the capture file in /tmp");
        return;
    }
    state.Capturing = capturing;
    NoonClock clock;
    QuietWindow window;
    ReceivePath receive(state, shared, view, capture, clock, window);
    const std::string block = randomBlock();
    for (auto _ : st) {
        receive.Port1ReceiveData(block);
        // Keep the file small: start it again now and then, outside the timing.
        if (capturing && state.RxCount > (64 << 20)) {
            st.PauseTiming();
            capture.open(path);
            state.RxCount = 0;
            st.ResumeTiming();
        }
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations() * block.size()));
    st.SetLabel(capturing ? "capture file in /tmp" : "no capture");
    capture.close();
    std::remove(path);
}
BENCHMARK(BM_ShowReceivedHexa)->Arg(0)->Arg(1);

}  // namespace
}  // namespace varelo
