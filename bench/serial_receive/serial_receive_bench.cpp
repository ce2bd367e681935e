// Receive path of the serial port driver: bytes written at the master end of a
// pseudo-terminal, taken from the kernel, handed out by the polling tick and seen
// by the receive handler. The far end's writes run on the same thread, so the
// figure is a floor for the driver alone.
#include "serial/comm_port_driver.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>
#include <cstdlib>
#include <limits>
#include <string>

namespace varelo {
namespace {

constexpr std::size_t kBytesPerIteration = 4 << 20;

struct Line {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    std::string slave;
    Line() {
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) slave = ::ptsname(master);
    }
    ~Line() {
        if (master >= 0) ::close(master);
    }
};

// range(0): the receive buffer's size; range(1): 1 to let the event loop (and so
// the socket notifier) run between ticks, 0 for ticks alone.
void BM_ReceivePath(benchmark::State& state) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    Line line;
    TCommPortDriver driver;
    driver.SetPortName(line.slave);
    driver.SetInBufSize(static_cast<std::uint32_t>(state.range(0)));
    driver.SetPollingDelay(std::numeric_limits<std::uint16_t>::max());
    std::size_t delivered = 0;
    std::uint8_t lastByte = 0;
    driver.SetOnReceiveData([&](TCommPortDriver&, const std::uint8_t* data, std::uint32_t size) {
        delivered += size;
        lastByte = data[size - 1];
    });
    if (line.slave.empty() || !driver.Connect()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    const bool runEventLoop = state.range(1) != 0;
    std::string chunk(64 * 1024, '\0');
    for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 7);

    for (auto _ : state) {
        delivered = 0;
        std::size_t written = 0;
        for (int idle = 0; delivered < kBytesPerIteration; ++idle) {
            if (idle > 100000) {
                state.SkipWithError("the line stopped moving");
                return;
            }
            const std::size_t before = delivered + written;
            if (written < kBytesPerIteration) {
                const std::size_t want = std::min(chunk.size(), kBytesPerIteration - written);
                const ssize_t n = ::write(line.master, chunk.data(), want);
                if (n > 0) written += static_cast<std::size_t>(n);
            }
            if (runEventLoop) app.processEvents();
            driver.PollingTick();
            if (delivered + written != before) idle = 0;
        }
        benchmark::DoNotOptimize(lastByte);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytesPerIteration));
}
BENCHMARK(BM_ReceivePath)
    ->ArgsProduct({{2048, 8192}, {0, 1}})
    ->ArgNames({"InBufSize", "EventLoop"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varelo
