// Opening and closing the port: what it refuses, that it holds the device alone,
// and that the line settings reach the tty.
#include "serial/tests/pty_driver_fixture.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace varelo::test {
namespace {

using DriverConnect = PtyDriverTest;

// Holds something open for as long as it lives.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

TEST_F(DriverConnect, RefusesWhatItCannotHaveAndLeaksNothing) {
    const std::string regularFile = std::filesystem::temp_directory_path() / "varelo-not-a-tty";
    {
        std::FILE* f = std::fopen(regularFile.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }

    TCommPortDriver holder;
    Descriptor locked;
    const struct {
        const char* name;
        std::string path;
        std::function<void()> prepare;
    } cases[] = {
        {"no such device", "/dev/varelo-no-such-device", [] {}},
        {"a directory", "/tmp", [] {}},
        {"a regular file", regularFile, [] {}},
        {"a rate the device refuses", pty.slavePath(), [this] { driver.SetBaudRateValue(0); }},
        {"held by another driver", pty.slavePath(),
         [&] {
             driver.SetBaudRate(br9600);
             holder.SetPortName(pty.slavePath());
             ASSERT_TRUE(holder.Connect());
         }},
        {"held by another program", pty.slavePath(),
         [&] {
             holder.Disconnect();
             locked.fd = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
             ASSERT_GE(locked.fd, 0);
             ASSERT_EQ(::flock(locked.fd, LOCK_EX | LOCK_NB), 0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        driver.SetPortName(c.path);
        const int before = OpenDescriptorCount();
        EXPECT_FALSE(driver.Connect());
        EXPECT_FALSE(driver.Connected());
        EXPECT_EQ(OpenDescriptorCount(), before);
        EXPECT_EQ(driver.SendString("x"), false);
    }
    std::filesystem::remove(regularFile);

    ::close(locked.fd);
    locked.fd = -1;
    driver.SetPortName(pty.slavePath());
    EXPECT_TRUE(driver.Connect()) << "free again once the other program lets go";
}

TEST_F(DriverConnect, OpensAndClosesAnyNumberOfTimes) {
    const int before = OpenDescriptorCount();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(driver.Connect());
        EXPECT_TRUE(driver.Connected());
        driver.Disconnect();
        EXPECT_FALSE(driver.Connected());
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST_F(DriverConnect, ComPortsAreFoundThroughTheEnvironment) {
    ::setenv("VARELO_COM5", pty.slavePath().c_str(), 1);
    driver.SetPort(pnCOM5);
    EXPECT_TRUE(driver.Connect());
    ::unsetenv("VARELO_COM5");
}

constexpr tcflag_t kKeptBits = PARODD | CMSPAR | CSTOPB | CRTSCTS;

// A pseudo-terminal keeps the rate, the parity kind, the stop bits and both flow
// controls; it forces 8 data bits without parity, which the translation table checks.
TEST_F(DriverConnect, LineSettingsReachTheTty) {
    const struct {
        const char* name;
        bool whileOpen;
        std::function<void(TCommPortDriver&)> write;
        std::uint32_t speed;
        tcflag_t keptBits;
        tcflag_t inputFlags;
    } cases[] = {
        {"as constructed", false, [](TCommPortDriver&) {}, 9600, 0, 0},
        {"custom rate 4000", false, [](TCommPortDriver& d) { d.SetBaudRateValue(4000); }, 4000, 0, 0},
        {"odd parity, 2 stop bits", false,
         [](TCommPortDriver& d) {
             d.SetParity(ptODD);
             d.SetStopBits(sb2BITS);
         },
         9600, PARODD | CSTOPB, 0},
        {"mark parity", false, [](TCommPortDriver& d) { d.SetParity(ptMARK); }, 9600, CMSPAR | PARODD, 0},
        {"space parity, 1.5 stop bits", false,
         [](TCommPortDriver& d) {
             d.SetParity(ptSPACE);
             d.SetStopBits(sb1HALFBITS);
         },
         9600, CMSPAR | CSTOPB, 0},
        {"RTS/CTS at 115200", false,
         [](TCommPortDriver& d) {
             d.SetHwFlow(hfRTSCTS);
             d.SetBaudRate(br115200);
         },
         115200, CRTSCTS, 0},
        {"XON/XOFF", false, [](TCommPortDriver& d) { d.SetSwFlow(sfXONXOFF); }, 9600, 0, IXON | IXOFF},
        {"changed while open", true,
         [](TCommPortDriver& d) {
             d.SetBaudRateValue(4000);
             d.SetParity(ptODD);
         },
         4000, PARODD, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PseudoTerminal line;
        TCommPortDriver d;
        d.SetPortName(line.slavePath());
        if (!c.whileOpen) c.write(d);
        ASSERT_TRUE(d.Connect());
        if (c.whileOpen) c.write(d);
        const termios2 t = line.line();
        EXPECT_EQ(t.c_ospeed, c.speed);
        EXPECT_EQ(t.c_ispeed, c.speed);
        EXPECT_EQ(t.c_cflag & kKeptBits, c.keptBits);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF), c.inputFlags);
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u) << "raw mode";
        EXPECT_EQ(t.c_cc[VSTART], 0x11);
        EXPECT_EQ(t.c_cc[VSTOP], 0x13);
    }
}

TEST_F(DriverConnect, ClosedDriverAnswersWithoutADevice) {
    EXPECT_FALSE(driver.ApplySettings());
    EXPECT_FALSE(driver.PurgeBuffers(true, true));
    EXPECT_TRUE(driver.GetModemLines().none());
    EXPECT_EQ(driver.OutputFreeSpace(), 65535);
    driver.PollingTick();
    EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace varelo::test
