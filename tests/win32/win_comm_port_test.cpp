// A COM port on a real line: the test script maps COM1 to a pseudo-terminal whose far
// end sends back all it receives, and COM2 to one whose far end only listens.
#include "serial/win_comm_port.h"

#include "tests/win32/under_wine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace varelo {
namespace {

std::string PortPath(const char* variable, const char* fallback) {
    const char* name = std::getenv(variable);
    return std::string("\\\\.\\") + (name && *name ? name : fallback);
}
const std::string kLoopPort = PortPath("VARELO_WIN32_LOOP_PORT", "COM1");
const std::string kQuietPort = PortPath("VARELO_WIN32_QUIET_PORT", "COM2");

constexpr std::size_t kStaging = 1 << 20;

std::string Pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

// Waits on the port's read event as a watcher would, collecting each finished read,
// until want bytes are staged or the time is up; the count staged.
std::uint32_t StageUntil(WinCommPort& port, std::uint32_t want, int ms = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (port.inputWaiting() < want && std::chrono::steady_clock::now() < end) {
        if (::WaitForSingleObject(port.readEvent(), 50) == WAIT_OBJECT_0) port.collectRead();
    }
    return port.inputWaiting();
}

std::string Take(WinCommPort& port, std::uint32_t size) {
    std::string out(size, '\0');
    out.resize(port.read(out.data(), size));
    return out;
}

DeviceControl Line(std::uint32_t baud, TDataBits bits = db8BITS, TParity parity = ptNONE,
                   TStopBits stop = sb1BITS) {
    LineSettings s;
    s.baudRateValue = baud;
    s.dataBits = bits;
    s.parity = parity;
    s.stopBits = stop;
    return BuildDeviceControl(s);
}

DCB Current(const WinCommPort& port) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    EXPECT_TRUE(::GetCommState(port.handle(), &dcb));
    return dcb;
}

class LoopedPort : public testing::Test {
  protected:
    void SetUp() override {
        port = WinCommPort::Open(kLoopPort, staging);
        ASSERT_NE(port, nullptr) << kLoopPort << " is not mapped";
        ASSERT_TRUE(port->setLine(Line(115200)));
        ASSERT_TRUE(port->setQueueSizes(8192, 8192));
        ASSERT_TRUE(port->purge(true, true));
    }
    std::size_t staging = kStaging;
    std::unique_ptr<WinCommPort> port;
};

TEST(WinCommPortOpen, OpensAMappedPortAndRefusesOthers) {
    EXPECT_NE(WinCommPort::Open(kQuietPort, kStaging), nullptr);
    EXPECT_EQ(WinCommPort::Open("\\\\.\\COM87", kStaging), nullptr);
    // A plain file is not a serial port.
    char file[MAX_PATH];
    ASSERT_GT(::GetTempPathA(sizeof file, file), 0u);
    const std::string path = std::string(file) + "varelo-not-a-port.txt";
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ::CloseHandle(h);
    EXPECT_EQ(WinCommPort::Open(path, kStaging), nullptr);
    ::DeleteFileA(path.c_str());
}

TEST(WinCommPortOpen, ASecondOpenerIsRefusedUntilTheFirstCloses) {
    SKIP_UNDER_WINE("a second open of a COM port succeeds");
    auto first = WinCommPort::Open(kQuietPort, kStaging);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(WinCommPort::Open(kQuietPort, kStaging), nullptr);
    first.reset();
    EXPECT_NE(WinCommPort::Open(kQuietPort, kStaging), nullptr);
}

TEST(WinCommPortLine, TakesCommonLinesAndRefusesRateZero) {
    auto port = WinCommPort::Open(kQuietPort, kStaging);
    ASSERT_NE(port, nullptr);
    for (std::uint32_t baud : {110u, 9600u, 38400u, 115200u}) {
        EXPECT_TRUE(port->setLine(Line(baud))) << baud;
        EXPECT_EQ(Current(*port).BaudRate, baud);
    }
    EXPECT_FALSE(port->setLine(Line(0)));
    EXPECT_EQ(Current(*port).BaudRate, 115200u);  // a refusal leaves the line as it was
}

TEST(WinCommPortLine, FrameAndCustomRatesReadBack) {
    SKIP_UNDER_WINE("data bits, parity and rates off the standard list read back as 8N1 and 38400");
    auto port = WinCommPort::Open(kQuietPort, kStaging);
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->setLine(Line(4000, db7BITS, ptEVEN, sb2BITS)));
    const DCB dcb = Current(*port);
    EXPECT_EQ(dcb.BaudRate, 4000u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, EVENPARITY);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
}

TEST(WinCommPortLine, ModemLinesAreReported) {
    SKIP_UNDER_WINE("GetCommModemStatus fails (error 50)");
    auto port = WinCommPort::Open(kQuietPort, kStaging);
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(port->modemLines().has_value());
}

TEST(WinCommPortLine, UnsentBytesAreCountedUntilTheLineTakesThem) {
    SKIP_UNDER_WINE("the driver's output queue (cbOutQue) always reads 0");
    auto port = WinCommPort::Open(kQuietPort, kStaging);
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->setLine(Line(110)));
    ASSERT_TRUE(port->setQueueSizes(2048, 2048));
    const std::string bytes(200, 'U');
    ASSERT_EQ(port->write(bytes.data(), 200), 200u);
    EXPECT_GT(port->outputWaiting(), 0u);  // 200 bytes take about 18 s at 110 baud
    EXPECT_TRUE(port->purge(false, true));
    EXPECT_EQ(port->outputWaiting(), 0u);
}

TEST_F(LoopedPort, ArrivingBytesSetTheReadEvent) {
    ASSERT_EQ(port->write("hello", 5), 5u);
    ASSERT_EQ(::WaitForSingleObject(port->readEvent(), 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    ASSERT_EQ(StageUntil(*port, 5), 5u);
    EXPECT_EQ(Take(*port, 100), "hello");
    // Nothing more on the line: no event until something arrives.
    EXPECT_EQ(::WaitForSingleObject(port->readEvent(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(LoopedPort, ALongRunComesBackWholeAndInOrder) {
    const std::string sent = Pattern(256 * 1024);
    std::string received;
    std::size_t offset = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (received.size() < sent.size() && std::chrono::steady_clock::now() < end) {
        if (offset < sent.size()) {
            const auto queued = port->write(sent.data() + offset,
                                            static_cast<std::uint32_t>(std::min<std::size_t>(4096, sent.size() - offset)));
            ASSERT_TRUE(queued.has_value());
            offset += *queued;
        }
        // Watched as the device's owner watches them: a finished read, a finished write.
        const HANDLE events[] = {port->readEvent(), port->writeEvent()};
        ::WaitForMultipleObjects(2, events, FALSE, 5);
        port->collectRead();
        port->collectWrite();
        received += Take(*port, 8192);
    }
    ASSERT_EQ(received.size(), sent.size()) << "queued " << offset << ", staged " << port->inputWaiting() << ", waiting out " << port->outputWaiting();
    EXPECT_TRUE(received == sent);
}

// Bytes queued behind a write in flight go out once its event is seen, with no further
// write or query from the owner.
TEST_F(LoopedPort, BytesQueuedBehindAWriteGoOutWhenItFinishes) {
    const std::string sent = Pattern(8000);
    ASSERT_EQ(port->write(sent.data(), 4000), 4000u);
    ASSERT_EQ(port->write(sent.data() + 4000, 4000), 4000u);
    std::string received;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (received.size() < sent.size() && std::chrono::steady_clock::now() < end) {
        const HANDLE events[] = {port->readEvent(), port->writeEvent()};
        const DWORD which = ::WaitForMultipleObjects(2, events, FALSE, 50);
        if (which == WAIT_OBJECT_0) port->collectRead();
        if (which == WAIT_OBJECT_0 + 1) port->collectWrite();
        std::string part(8192, '\0');
        part.resize(port->read(part.data(), 8192));
        received += part;
    }
    EXPECT_EQ(received.size(), sent.size());
    EXPECT_TRUE(received == sent);
}

TEST_F(LoopedPort, PurgingInputDropsWhatIsStagedAndReadingGoesOn) {
    ASSERT_EQ(port->write("stale", 5), 5u);
    ASSERT_EQ(StageUntil(*port, 5), 5u);
    EXPECT_TRUE(port->purge(true, false));
    EXPECT_EQ(port->inputWaiting(), 0u);
    ASSERT_EQ(port->write("fresh", 5), 5u);
    ASSERT_EQ(StageUntil(*port, 5), 5u);
    EXPECT_EQ(Take(*port, 100), "fresh");
}

class SmallStaging : public LoopedPort {
  protected:
    void SetUp() override {
        staging = 16;
        LoopedPort::SetUp();
    }
};

TEST_F(SmallStaging, AFullStagingBufferLeavesTheRestWithTheDriverAndStopsTheEvent) {
    const std::string sent = Pattern(100);
    ASSERT_EQ(port->write(sent.data(), 100), 100u);
    ASSERT_EQ(StageUntil(*port, 16), 16u);
    ::Sleep(200);  // the rest has come back by now, and waits in the driver
    port->collectRead();
    EXPECT_EQ(port->inputWaiting(), 16u);
    // Full: no read waits on the port, so its event must not keep a watcher busy.
    EXPECT_EQ(::WaitForSingleObject(port->readEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    std::string received;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (received.size() < sent.size() && std::chrono::steady_clock::now() < end) {
        received += Take(*port, 7);
        StageUntil(*port, 1, 100);
    }
    EXPECT_EQ(received, sent);
}

}  // namespace
}  // namespace varelo
