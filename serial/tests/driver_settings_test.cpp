// The rules for writing the driver's properties, closed and open; the port path
// and the packet duration.
#include "serial/comm_port_driver.h"
#include "serial/port_path.h"
#include "serial/tests/pseudo_terminal.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace varelo {
namespace {

struct PropertyCase {
    const char* name;
    bool open;
    std::function<void(TCommPortDriver&)> write;
    std::function<void(const TCommPortDriver&, const std::string& openedPath)> check;
};

TEST(DriverProperties, FollowTheWriteRulesClosedAndOpen) {
    const PropertyCase cases[] = {
        {"as constructed", false, [](TCommPortDriver&) {},
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.Port(), pnCOM2);
             EXPECT_EQ(d.PortName(), "\\\\.\\COM2");
             EXPECT_EQ(d.BaudRate(), br9600);
             EXPECT_EQ(d.BaudRateValue(), 9600u);
             EXPECT_EQ(d.DataBits(), db8BITS);
             EXPECT_EQ(d.StopBits(), sb1BITS);
             EXPECT_EQ(d.Parity(), ptNONE);
             EXPECT_EQ(d.HwFlow(), hfNONERTSON);
             EXPECT_EQ(d.SwFlow(), sfNONE);
             EXPECT_EQ(d.InBufSize(), 2048u);
             EXPECT_EQ(d.OutBufSize(), 2048u);
             EXPECT_EQ(d.PacketSize(), -1);
             EXPECT_EQ(d.PacketTimeout(), -1);
             EXPECT_EQ(d.PacketMode(), pmDiscard);
             EXPECT_EQ(d.PollingDelay(), 50);
             EXPECT_TRUE(d.EnableDTROnOpen());
             EXPECT_EQ(d.OutputTimeout(), 500);
             EXPECT_EQ(d.InputTimeout(), 200u);
             EXPECT_FALSE(d.CheckLineStatus());
             EXPECT_FALSE(d.Connected());
         }},
        {"COM3 names its device", false, [](TCommPortDriver& d) { d.SetPort(pnCOM3); },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.Port(), pnCOM3);
             EXPECT_EQ(d.PortName(), "\\\\.\\COM3");
         }},
        {"COM12 has two digits", false, [](TCommPortDriver& d) { d.SetPort(pnCOM12); },
         [](const TCommPortDriver& d, const std::string&) { EXPECT_EQ(d.PortName(), "\\\\.\\COM12"); }},
        {"custom port keeps the name", false, [](TCommPortDriver& d) { d.SetPort(pnCustom); },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.Port(), pnCustom);
             EXPECT_EQ(d.PortName(), "\\\\.\\COM2");
         }},
        {"a name makes the port custom", false, [](TCommPortDriver& d) { d.SetPortName("/dev/null"); },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.Port(), pnCustom);
             EXPECT_EQ(d.PortName(), "/dev/null");
         }},
        {"port beyond COM16 is ignored", false, [](TCommPortDriver& d) { d.SetPort(TPortNumber(17)); },
         [](const TCommPortDriver& d, const std::string&) { EXPECT_EQ(d.Port(), pnCOM2); }},
        {"port and name cannot change while open", true,
         [](TCommPortDriver& d) {
             d.SetPort(pnCOM3);
             d.SetPortName("/dev/null");
         },
         [](const TCommPortDriver& d, const std::string& path) {
             EXPECT_EQ(d.Port(), pnCustom);
             EXPECT_EQ(d.PortName(), path);
         }},
        {"custom rate keeps the value", false,
         [](TCommPortDriver& d) {
             d.SetBaudRate(br19200);
             d.SetBaudRate(brCustom);
         },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.BaudRate(), brCustom);
             EXPECT_EQ(d.BaudRateValue(), 19200u);
         }},
        {"a rate value makes the rate custom", false, [](TCommPortDriver& d) { d.SetBaudRateValue(4000); },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.BaudRate(), brCustom);
             EXPECT_EQ(d.BaudRateValue(), 4000u);
         }},
        {"line settings change while open", true,
         [](TCommPortDriver& d) {
             d.SetBaudRate(br115200);
             d.SetDataBits(db7BITS);
             d.SetStopBits(sb2BITS);
             d.SetParity(ptODD);
             d.SetHwFlow(hfRTSCTS);
             d.SetSwFlow(sfXONXOFF);
         },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.BaudRate(), br115200);
             EXPECT_EQ(d.BaudRateValue(), 115200u);
             EXPECT_EQ(d.DataBits(), db7BITS);
             EXPECT_EQ(d.StopBits(), sb2BITS);
             EXPECT_EQ(d.Parity(), ptODD);
             EXPECT_EQ(d.HwFlow(), hfRTSCTS);
             EXPECT_EQ(d.SwFlow(), sfXONXOFF);
         }},
        {"values out of range are ignored", false,
         [](TCommPortDriver& d) {
             d.SetBaudRate(TBaudRate(16));
             d.SetDataBits(TDataBits(4));
             d.SetStopBits(TStopBits(3));
             d.SetParity(TParity(5));
             d.SetHwFlow(THwFlowControl(3));
             d.SetSwFlow(TSwFlowControl(2));
             d.SetPacketMode(TPacketMode(2));
         },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.BaudRate(), br9600);
             EXPECT_EQ(d.DataBits(), db8BITS);
             EXPECT_EQ(d.StopBits(), sb1BITS);
             EXPECT_EQ(d.Parity(), ptNONE);
             EXPECT_EQ(d.HwFlow(), hfNONERTSON);
             EXPECT_EQ(d.SwFlow(), sfNONE);
             EXPECT_EQ(d.PacketMode(), pmDiscard);
         }},
        {"buffer sizes are limited", false,
         [](TCommPortDriver& d) {
             d.SetInBufSize(100);
             d.SetOutBufSize(10000);
         },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.InBufSize(), 128u);
             EXPECT_EQ(d.OutBufSize(), 8192u);
         }},
        {"buffer sizes cannot change while open", true,
         [](TCommPortDriver& d) {
             d.SetInBufSize(4096);
             d.SetOutBufSize(4096);
         },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.InBufSize(), 2048u);
             EXPECT_EQ(d.OutBufSize(), 2048u);
         }},
        {"packet size 0 or less is stream mode", false, [](TCommPortDriver& d) { d.SetPacketSize(-7); },
         [](const TCommPortDriver& d, const std::string&) { EXPECT_EQ(d.PacketSize(), -1); }},
        {"a larger packet enlarges the buffer", false, [](TCommPortDriver& d) { d.SetPacketSize(4096); },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.PacketSize(), 4096);
             EXPECT_EQ(d.InBufSize(), 4096u);
         }},
        {"the buffer stays as large as the packet", false,
         [](TCommPortDriver& d) {
             d.SetPacketSize(4096);
             d.SetInBufSize(1024);
         },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.PacketSize(), 4096);
             EXPECT_EQ(d.InBufSize(), 4096u);
         }},
        {"a packet beyond the largest buffer is limited to it", false,
         [](TCommPortDriver& d) { d.SetPacketSize(10000); },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.PacketSize(), 8192);
             EXPECT_EQ(d.InBufSize(), 8192u);
         }},
        {"while open a packet is limited to the buffer", true,
         [](TCommPortDriver& d) { d.SetPacketSize(4096); },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.PacketSize(), 2048);
             EXPECT_EQ(d.InBufSize(), 2048u);
         }},
        {"packet time-out below the polling delay", false, [](TCommPortDriver& d) { d.SetPacketTimeout(30); },
         [](const TCommPortDriver& d, const std::string&) { EXPECT_EQ(d.PacketTimeout(), 70); }},
        {"packet time-out 0 waits for ever", false, [](TCommPortDriver& d) { d.SetPacketTimeout(0); },
         [](const TCommPortDriver& d, const std::string&) { EXPECT_EQ(d.PacketTimeout(), -1); }},
        {"packet time-out kept", true, [](TCommPortDriver& d) { d.SetPacketTimeout(200); },
         [](const TCommPortDriver& d, const std::string&) { EXPECT_EQ(d.PacketTimeout(), 200); }},
        {"polling delay at least 5", false, [](TCommPortDriver& d) { d.SetPollingDelay(3); },
         [](const TCommPortDriver& d, const std::string&) { EXPECT_EQ(d.PollingDelay(), 5); }},
        {"a longer polling delay lifts the packet time-out", true,
         [](TCommPortDriver& d) {
             d.SetPacketTimeout(60);
             d.SetPollingDelay(100);
         },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.PollingDelay(), 100);
             EXPECT_EQ(d.PacketTimeout(), 140);
         }},
        {"the rest are stored as they are", true,
         [](TCommPortDriver& d) {
             d.SetPacketMode(pmPass);
             d.SetEnableDTROnOpen(false);
             d.SetOutputTimeout(20);
             d.SetInputTimeout(7);
             d.SetCheckLineStatus(true);
         },
         [](const TCommPortDriver& d, const std::string&) {
             EXPECT_EQ(d.PacketMode(), pmPass);
             EXPECT_FALSE(d.EnableDTROnOpen());
             EXPECT_EQ(d.OutputTimeout(), 20);
             EXPECT_EQ(d.InputTimeout(), 7u);
             EXPECT_TRUE(d.CheckLineStatus());
         }},
    };
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    for (const PropertyCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::PseudoTerminal pty;
        ASSERT_TRUE(pty.ok());
        TCommPortDriver driver;
        if (c.open) {
            driver.SetPortName(pty.slavePath());
            ASSERT_TRUE(driver.Connect());
        }
        c.write(driver);
        c.check(driver, pty.slavePath());
        EXPECT_EQ(driver.Connected(), c.open);
    }
}

TEST(DriverProperties, PortStoredAfterDisconnect) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    test::PseudoTerminal pty;
    ASSERT_TRUE(pty.ok());
    TCommPortDriver driver;
    driver.SetPortName(pty.slavePath());
    ASSERT_TRUE(driver.Connect());
    driver.SetPort(pnCOM3);
    EXPECT_EQ(driver.Port(), pnCustom);
    driver.Disconnect();
    driver.SetPort(pnCOM3);
    EXPECT_EQ(driver.Port(), pnCOM3);
    EXPECT_EQ(driver.PortName(), "\\\\.\\COM3");
}

TEST(PortPath, ComNamesResolveThroughTheEnvironment) {
    ::setenv("VARELO_COM3", "/tmp/line-three", 1);
    ::unsetenv("VARELO_COM12");
    const struct {
        const char* name;
        const char* path;
    } cases[] = {
        {"\\\\.\\COM3", "/tmp/line-three"}, {"\\\\.\\COM12", "/dev/ttyS11"}, {"\\\\.\\COM0", "\\\\.\\COM0"},
        {"\\\\.\\COM3x", "\\\\.\\COM3x"},   {"\\\\.\\COM", "\\\\.\\COM"},    {"COM3", "COM3"},
        {"/dev/pts/4", "/dev/pts/4"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolvePortPath(c.name), c.path) << c.name;
    ::unsetenv("VARELO_COM3");
}

TEST(PacketDuration, IsTheTimeOfTenBitCharactersAtTheTableRate) {
    const struct {
        TBaudRate rate;
        std::int32_t chars;
        std::int32_t ms;
    } cases[] = {
        {br9600, 10, 10},     {br110, 1, 91},    {br300, 3, 100},
        {br115200, 1000, 87}, {br128000, 32, 2},  // 2.5 goes to the even neighbour
        {br128000, 96, 8},                        // 7.5 likewise
        {br9600, 0, 0},       {brCustom, 10, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TCommPortDriver::PacketDuration(c.rate, c.chars), c.ms) << int(c.rate) << " " << c.chars;
}

}  // namespace
}  // namespace varelo
