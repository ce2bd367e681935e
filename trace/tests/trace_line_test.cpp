// A line's modem status as varelo-trace reports it, on a device whose lines the
// test sets (a pseudo-terminal has none).
#include "trace/trace_line.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

namespace varelo {
namespace {

struct ModemState {
    std::optional<TModemLines> lines;
};

class ModemOnlyDevice final : public SerialDevice {
  public:
    explicit ModemOnlyDevice(const ModemState& state) : state_(state) {}
    bool setLine(const DeviceControl&) override { return true; }
    bool purge(bool, bool) override { return true; }
    bool setQueueSizes(std::uint32_t, std::uint32_t) override { return true; }
    std::uint32_t inputWaiting() override { return 0; }
    std::uint32_t outputWaiting() override { return 0; }
    std::optional<TModemLines> modemLines() override { return state_.lines; }
    std::uint32_t read(void*, std::uint32_t) override { return 0; }
    std::optional<std::uint32_t> write(const void*, std::uint32_t) override { return std::nullopt; }

  private:
    const ModemState& state_;
};

void RunEventsFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(TraceLineModem, ReportsTheStateAtStartThenEveryChangeOnce) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    ModemState state;
    TModemLines lines;
    lines[mlCTS] = true;
    state.lines = lines;
    std::vector<LineEvent> events;
    TraceLine line({1, "/dev/fake", LineFormat{}, true, true,
                    [&](const std::string&) { return std::make_unique<ModemOnlyDevice>(state); }},
                   {[](KernelStamp, std::span<const std::uint8_t>) {}, [&](const LineEvent& e) { events.push_back(e); }});
    ASSERT_FALSE(line.open());
    RunEventsFor(50);
    lines[mlRLSD] = true;
    lines[mlRING] = true;
    state.lines = lines;
    RunEventsFor(50);
    lines[mlCTS] = false;
    state.lines = lines;
    RunEventsFor(50);
    state.lines.reset();
    RunEventsFor(50);

    std::vector<std::pair<LineEvent::Kind, int>> seen;
    for (const LineEvent& e : events) {
        EXPECT_EQ(e.line, 1);
        seen.emplace_back(e.kind, e.modem);
    }
    const std::vector<std::pair<LineEvent::Kind, int>> expected = {
        {LineEvent::Kind::ModemLines, kModemCts},
        {LineEvent::Kind::ModemLines, kModemCts | kModemDcd | kModemRi},
        {LineEvent::Kind::ModemLines, kModemDcd | kModemRi},
        {LineEvent::Kind::ModemUnknown, 0},
    };
    EXPECT_EQ(seen, expected);
    for (std::size_t i = 1; i < events.size(); ++i) EXPECT_GT(events[i].stamp, events[i - 1].stamp);
}

}  // namespace
}  // namespace varelo
