// The polling tick: what it delivers, in what pieces, in stream and packet mode,
// and what it does when the far end goes away.
#include "serial/posix_serial_device.h"
#include "serial/tests/pty_driver_fixture.h"

#include <QElapsedTimer>
#include <QEvent>

namespace varelo {
// Names the packet mode in the test's output.
inline void PrintTo(TPacketMode mode, std::ostream* os) {
    *os << (mode == pmPass ? "pmPass" : "pmDiscard");
}

namespace test {
namespace {

using DriverReceive = PtyDriverTest;

TEST_F(DriverReceive, OneTickDeliversEverythingWaitingInOneEvent) {
    ASSERT_TRUE(driver.Connect());
    driver.PollingTick();
    EXPECT_TRUE(events.empty()) << "nothing waiting, no event";

    farEndSends("hello");
    farEndSends(" world");
    driver.PollingTick();
    EXPECT_EQ(events, std::vector<std::string>{"hello world"});

    farEndSends("xyz");
    EXPECT_TRUE(driver.Connect()) << "already open";
    driver.PollingTick();
    EXPECT_EQ(events.back(), "xyz") << "connecting an open driver empties no queue";
}

TEST_F(DriverReceive, BytesWithoutAHandlerAreReadAndDropped) {
    ASSERT_TRUE(driver.Connect());
    driver.SetOnReceiveData(nullptr);
    farEndSends("dropped");
    driver.PollingTick();
    driver.SetOnReceiveData([this](TCommPortDriver&, const std::uint8_t* data, std::uint32_t size) {
        events.emplace_back(reinterpret_cast<const char*>(data), size);
    });
    farEndSends("kept");
    driver.PollingTick();
    EXPECT_EQ(events, std::vector<std::string>{"kept"});
}

TEST_F(DriverReceive, PurgesAndLineChangesEmptyTheInputQueue) {
    ASSERT_TRUE(driver.Connect());
    farEndSends("purged");
    app.processEvents();
    EXPECT_TRUE(driver.PurgeBuffers(true, false));
    driver.PollingTick();
    farEndSends("applied");
    app.processEvents();
    driver.SetParity(ptEVEN);
    driver.PollingTick();
    EXPECT_TRUE(events.empty());
}

// A tty holds about 4 KB between two reads; the driver must keep up with more.
TEST_F(DriverReceive, BurstArrivesWholeInPiecesOfTheBufferSize) {
    ASSERT_TRUE(driver.Connect());
    const std::string burst = Pattern(20000);
    farEndSends(burst);
    driver.PollingTick();
    EXPECT_EQ(received(), burst);
    EXPECT_EQ(events.size(), 10u) << "20000 bytes in pieces of 2048";
    for (const std::string& e : events) EXPECT_LE(e.size(), driver.InBufSize());
}

// Past the staging buffer's size the driver stops reading and the line is held
// off; a tick makes room, reading resumes, and nothing is lost.
TEST_F(DriverReceive, FullStagingBufferHoldsTheLineAndLosesNothing) {
    ASSERT_TRUE(driver.Connect());
    // More than the staging buffer and the kernel's own buffers (640 KB at most) hold.
    const std::string data = Pattern(2 * kSerialStagingBytes);
    const std::size_t accepted = pty.writeSome(data);
    EXPECT_GE(accepted, kSerialStagingBytes);
    EXPECT_LT(accepted, data.size()) << "the line is held while the buffer is full";
    driver.PollingTick();
    ASSERT_TRUE(pty.writeAll(std::string_view(data).substr(accepted)));
    driver.PollingTick();
    EXPECT_EQ(received(), data);
}

class DriverPackets : public PtyDriverTest, public ::testing::WithParamInterface<TPacketMode> {
  protected:
    void SetUp() override {
        PtyDriverTest::SetUp();
        driver.SetPollingDelay(50);  // no event loop runs in these tests
        driver.SetPacketSize(10);
        driver.SetPacketTimeout(100);
        driver.SetPacketMode(GetParam());
        ASSERT_TRUE(driver.Connect());
        clock.set(1000);
    }
    // What a timed-out partial packet gives.
    std::vector<std::string> shortPacket(const std::string& bytes) const {
        return GetParam() == pmPass ? std::vector<std::string>{bytes} : std::vector<std::string>{};
    }
};

TEST_P(DriverPackets, WholePacketsFirstThenTheRemainderTimesOut) {
    const std::string bytes = Pattern(38);
    farEndSends(bytes.substr(0, 25));
    driver.PollingTick();
    EXPECT_EQ(events, (std::vector<std::string>{bytes.substr(0, 10), bytes.substr(10, 10)}));
    events.clear();

    // The 5 left over began when this tick saw them, not before.
    clock.advance(60);
    farEndSends(bytes.substr(25, 3));
    driver.PollingTick();
    clock.set(1100);
    driver.PollingTick();
    EXPECT_TRUE(events.empty()) << "still within the time-out";

    clock.set(1101);
    driver.PollingTick();
    EXPECT_EQ(events, shortPacket(bytes.substr(20, 8)));
    events.clear();

    farEndSends(bytes.substr(28, 10));
    driver.PollingTick();
    EXPECT_EQ(events, std::vector<std::string>{bytes.substr(28, 10)}) << "the next byte begins a new packet";
}

TEST_P(DriverPackets, EachWholePacketMovesThePendingStartOn) {
    const std::string bytes = Pattern(22);
    farEndSends(bytes.substr(0, 5));
    driver.PollingTick();  // the partial packet begins at 1000
    clock.set(1040);
    farEndSends(bytes.substr(5));
    driver.PollingTick();
    EXPECT_EQ(events.size(), 2u);
    events.clear();

    // Two packets of 10 characters at 9600 bits/s take 20 ms: the rest began at 1020.
    clock.set(1120);
    driver.PollingTick();
    EXPECT_TRUE(events.empty());
    clock.set(1121);
    driver.PollingTick();
    EXPECT_EQ(events, shortPacket(bytes.substr(20)));
}

INSTANTIATE_TEST_SUITE_P(BothModes, DriverPackets, ::testing::Values(pmPass, pmDiscard),
                         [](const ::testing::TestParamInfo<TPacketMode>& p) {
                             return p.param == pmPass ? "Pass" : "Discard";
                         });

// Counts the event loop's socket activations.
class SocketActivations : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::SockAct) ++count;
        return false;
    }
};

TEST_F(DriverReceive, FarEndGoneLosesNothingAndDoesNotSpin) {
    ASSERT_TRUE(driver.Connect());
    farEndSends("last words");
    app.processEvents();
    pty.closeMaster();

    SocketActivations activations;
    app.installEventFilter(&activations);
    for (int i = 0; i < 5; ++i) {
        app.processEvents();
        driver.PollingTick();
    }
    EXPECT_EQ(events, std::vector<std::string>{"last words"});
    activations.count = 0;
    for (int i = 0; i < 20; ++i) app.processEvents();
    EXPECT_EQ(activations.count, 0) << "a dead line is not watched";
    EXPECT_FALSE(driver.SendString("x"));
    EXPECT_TRUE(driver.Connected());

    driver.Disconnect();
    PseudoTerminal fresh;
    driver.SetPortName(fresh.slavePath());
    ASSERT_TRUE(driver.Connect());
    ASSERT_TRUE(fresh.writeAll("again"));
    driver.PollingTick();
    EXPECT_EQ(events.back(), "again");
}

// The poll timer itself, run by the event loop: it rests on a quiet line and
// wakes when bytes come in, but not while a partial packet waits for its time-out.
class DriverPollTimer : public PtyDriverTest {
  protected:
    void SetUp() override {
        PtyDriverTest::SetUp();
        driver.SetPollingDelay(5);
    }

    // Runs the event loop until the condition holds; gives up after a generous while.
    template <typename Condition>
    bool loopUntil(Condition done) {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < 5000) app.processEvents(QEventLoop::WaitForMoreEvents, 20);
        return done();
    }
};

TEST_F(DriverPollTimer, RestsOnAQuietLineAndWakesWhenBytesComeIn) {
    ASSERT_TRUE(driver.Connect());
    EXPECT_TRUE(driver.Polling());
    EXPECT_TRUE(loopUntil([&] { return !driver.Polling(); })) << "a tick that finds nothing rests";

    for (const std::string burst : {"first", "second"}) {
        farEndSends(burst);
        ASSERT_TRUE(loopUntil([&] { return !events.empty() && events.back() == burst; }));
        EXPECT_TRUE(loopUntil([&] { return !driver.Polling(); }));
    }
    EXPECT_EQ(received(), "firstsecond");
}

TEST_F(DriverPollTimer, KeepsTickingWhileAPartialPacketWaits) {
    driver.SetPacketSize(10);
    driver.SetPacketTimeout(100);
    driver.SetPacketMode(pmPass);
    ASSERT_TRUE(driver.Connect());
    farEndSends("abc");
    // Real ticks note the partial packet and then its time-out, on the test's clock.
    EXPECT_TRUE(loopUntil([&] {
        clock.advance(10);
        return !events.empty();
    }));
    EXPECT_EQ(events, std::vector<std::string>{"abc"});
    EXPECT_TRUE(loopUntil([&] { return !driver.Polling(); }));
}

}  // namespace
}  // namespace test
}  // namespace varelo
