// From the driver's properties to device control values, and from those to the
// tty's line: every setting, as a table.
#include "serial/comm_port_driver.h"
#include "serial/termios2_line.h"

#include <gtest/gtest.h>

#include <functional>

namespace varelo {
namespace {

// The control values of a driver as constructed: 9600 8N1, RTS on, DTR on, 2048-byte buffers.
DeviceControl DefaultControl() {
    DeviceControl dc;
    dc.baudRate = 9600;
    dc.binary = true;
    dc.parityCheck = false;
    dc.outxCtsFlow = false;
    dc.dtrControl = DtrControl::Enable;
    dc.rtsControl = RtsControl::Enable;
    dc.outX = dc.inX = false;
    dc.xonLim = dc.xoffLim = 512;
    dc.byteSize = 8;
    dc.parity = 0;
    dc.stopBits = 0;
    dc.xonChar = 0x11;
    dc.xoffChar = 0x13;
    return dc;
}

struct ControlCase {
    const char* name;
    std::function<void(TCommPortDriver&)> write;
    std::function<void(DeviceControl&)> expect;  // changes from the default values
};

TEST(DeviceControlValues, FollowThePropertiesWrittenToTheDriver) {
    const ControlCase cases[] = {
        {"as constructed", [](TCommPortDriver&) {}, [](DeviceControl&) {}},
        {"7E1",
         [](TCommPortDriver& d) {
             d.SetDataBits(db7BITS);
             d.SetParity(ptEVEN);
             d.SetStopBits(sb1BITS);
         },
         [](DeviceControl& e) {
             e.byteSize = 7;
             e.parity = 2;
         }},
        {"5 data bits, mark parity, 1.5 stop bits",
         [](TCommPortDriver& d) {
             d.SetDataBits(db5BITS);
             d.SetParity(ptMARK);
             d.SetStopBits(sb1HALFBITS);
         },
         [](DeviceControl& e) {
             e.byteSize = 5;
             e.parity = 3;
             e.stopBits = 1;
         }},
        {"space parity, 2 stop bits",
         [](TCommPortDriver& d) {
             d.SetParity(ptSPACE);
             d.SetStopBits(sb2BITS);
         },
         [](DeviceControl& e) {
             e.parity = 4;
             e.stopBits = 2;
         }},
        {"custom rate 4000", [](TCommPortDriver& d) { d.SetBaudRateValue(4000); },
         [](DeviceControl& e) { e.baudRate = 4000; }},
        {"rate from the table", [](TCommPortDriver& d) { d.SetBaudRate(br256000); },
         [](DeviceControl& e) { e.baudRate = 256000; }},
        {"no handshake, RTS off", [](TCommPortDriver& d) { d.SetHwFlow(hfNONE); },
         [](DeviceControl& e) { e.rtsControl = RtsControl::Disable; }},
        {"RTS/CTS handshake", [](TCommPortDriver& d) { d.SetHwFlow(hfRTSCTS); },
         [](DeviceControl& e) {
             e.rtsControl = RtsControl::Handshake;
             e.outxCtsFlow = true;
         }},
        {"XON/XOFF", [](TCommPortDriver& d) { d.SetSwFlow(sfXONXOFF); },
         [](DeviceControl& e) { e.outX = e.inX = true; }},
        {"DTR off", [](TCommPortDriver& d) { d.SetEnableDTROnOpen(false); },
         [](DeviceControl& e) { e.dtrControl = DtrControl::Disable; }},
        {"buffer below the least", [](TCommPortDriver& d) { d.SetInBufSize(100); },
         [](DeviceControl& e) { e.xonLim = e.xoffLim = 32; }},
        {"buffer above the most", [](TCommPortDriver& d) { d.SetInBufSize(10000); },
         [](DeviceControl& e) { e.xonLim = e.xoffLim = 2048; }},
    };
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(c.name);
        TCommPortDriver driver;
        c.write(driver);
        DeviceControl expected = DefaultControl();
        c.expect(expected);
        EXPECT_EQ(BuildDeviceControl(driver.CurrentLineSettings()), expected);
    }
}

constexpr tcflag_t kLineBits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;

struct TermiosCase {
    const char* name;
    std::function<void(LineSettings&)> change;
    tcflag_t lineBits;  // the bits of kLineBits that are on
    tcflag_t inputFlags;
    std::uint32_t speed;
    ModemLevels levels;
};

TEST(TtyLine, CarriesEverySettingInRawMode) {
    const TermiosCase cases[] = {
        {"8N1 at 9600", [](LineSettings&) {}, CS8, 0, 9600, {true, true}},
        {"7E1",
         [](LineSettings& s) {
             s.dataBits = db7BITS;
             s.parity = ptEVEN;
         },
         CS7 | PARENB,
         0,
         9600,
         {true, true}},
        {"8O1", [](LineSettings& s) { s.parity = ptODD; }, CS8 | PARENB | PARODD, 0, 9600, {true, true}},
        {"mark parity",
         [](LineSettings& s) { s.parity = ptMARK; },
         CS8 | PARENB | CMSPAR | PARODD,
         0,
         9600,
         {true, true}},
        {"space parity",
         [](LineSettings& s) { s.parity = ptSPACE; },
         CS8 | PARENB | CMSPAR,
         0,
         9600,
         {true, true}},
        {"6 data bits", [](LineSettings& s) { s.dataBits = db6BITS; }, CS6, 0, 9600, {true, true}},
        {"5 data bits, 1.5 stop bits",
         [](LineSettings& s) {
             s.dataBits = db5BITS;
             s.stopBits = sb1HALFBITS;
         },
         CS5 | CSTOPB,
         0,
         9600,
         {true, true}},
        {"2 stop bits", [](LineSettings& s) { s.stopBits = sb2BITS; }, CS8 | CSTOPB, 0, 9600, {true, true}},
        {"RTS/CTS", [](LineSettings& s) { s.hwFlow = hfRTSCTS; }, CS8 | CRTSCTS, 0, 9600, {true, true}},
        {"no handshake, RTS and DTR off",
         [](LineSettings& s) {
             s.hwFlow = hfNONE;
             s.enableDtrOnOpen = false;
         },
         CS8,
         0,
         9600,
         {false, false}},
        {"XON/XOFF", [](LineSettings& s) { s.swFlow = sfXONXOFF; }, CS8, IXON | IXOFF, 9600, {true, true}},
        {"custom rate 4000", [](LineSettings& s) { s.baudRateValue = 4000; }, CS8, 0, 4000, {true, true}},
    };
    for (const TermiosCase& c : cases) {
        SCOPED_TRACE(c.name);
        LineSettings settings;
        c.change(settings);
        const DeviceControl dc = BuildDeviceControl(settings);
        const termios2 t = TermiosForDeviceControl(dc);

        EXPECT_EQ(t.c_cflag & kLineBits, c.lineBits);
        EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
        EXPECT_EQ(t.c_cflag & CBAUD, tcflag_t(BOTHER)) << "the rate goes in as a number";
        EXPECT_EQ(t.c_ispeed, c.speed);
        EXPECT_EQ(t.c_ospeed, c.speed);
        EXPECT_EQ(t.c_iflag, c.inputFlags) << "no parity check, no character translated";
        EXPECT_EQ(t.c_oflag, 0u);
        EXPECT_EQ(t.c_lflag, 0u) << "no echo, no line editing, no signals";
        EXPECT_EQ(t.c_cc[VSTART], 0x11);
        EXPECT_EQ(t.c_cc[VSTOP], 0x13);
        EXPECT_EQ(ModemLevelsForDeviceControl(dc), c.levels);
    }
}

}  // namespace
}  // namespace varelo
