#include "serial/win_comm_state.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

struct LineCase {
    const char* name;
    LineSettings settings;
    // What the port's control block must then say.
    DWORD baud;
    BYTE byteSize, parity, stopBits;
    DWORD dtr, rts;
    bool ctsFlow, xonXoff;
};

LineSettings Line(std::uint32_t baud, TDataBits bits, TParity parity, TStopBits stop, THwFlowControl hw,
                  TSwFlowControl sw, bool dtr) {
    LineSettings s;
    s.baudRateValue = baud;
    s.dataBits = bits;
    s.parity = parity;
    s.stopBits = stop;
    s.hwFlow = hw;
    s.swFlow = sw;
    s.enableDtrOnOpen = dtr;
    return s;
}

class DcbForLine : public testing::TestWithParam<LineCase> {};

TEST_P(DcbForLine, CarriesTheSettingsInTheDriversNumbers) {
    const LineCase& c = GetParam();
    DCB reported{};
    reported.DCBlength = sizeof reported;
    reported.fDsrSensitivity = TRUE;  // what a port may report: none of it may stay
    reported.fErrorChar = TRUE;
    reported.fNull = TRUE;
    reported.fAbortOnError = TRUE;
    reported.fOutxDsrFlow = TRUE;
    reported.ErrorChar = '?';
    reported.EofChar = 0x1A;
    const DCB dcb = DcbForDeviceControl(BuildDeviceControl(c.settings), reported);
    EXPECT_EQ(dcb.DCBlength, sizeof(DCB));
    EXPECT_EQ(dcb.BaudRate, c.baud);
    EXPECT_EQ(dcb.ByteSize, c.byteSize);
    EXPECT_EQ(dcb.Parity, c.parity);
    EXPECT_EQ(dcb.StopBits, c.stopBits);
    EXPECT_EQ(dcb.fDtrControl, c.dtr);
    EXPECT_EQ(dcb.fRtsControl, c.rts);
    EXPECT_EQ(dcb.fOutxCtsFlow != 0, c.ctsFlow);
    EXPECT_EQ(dcb.fOutX != 0, c.xonXoff);
    EXPECT_EQ(dcb.fInX != 0, c.xonXoff);
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);
    // Binary, no parity check, nothing replaced, dropped or aborted on an error.
    EXPECT_TRUE(dcb.fBinary);
    EXPECT_FALSE(dcb.fParity);
    EXPECT_FALSE(dcb.fOutxDsrFlow);
    EXPECT_FALSE(dcb.fDsrSensitivity);
    EXPECT_FALSE(dcb.fErrorChar);
    EXPECT_FALSE(dcb.fNull);
    EXPECT_FALSE(dcb.fAbortOnError);
    EXPECT_EQ(dcb.EofChar, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DcbForLine,
    testing::Values(
        LineCase{"Default", LineSettings{}, 9600, 8, NOPARITY, ONESTOPBIT, DTR_CONTROL_ENABLE,
                 RTS_CONTROL_ENABLE, false, false},
        LineCase{"SevenEvenTwoRtsCts", Line(19200, db7BITS, ptEVEN, sb2BITS, hfRTSCTS, sfNONE, true), 19200,
                 7, EVENPARITY, TWOSTOPBITS, DTR_CONTROL_ENABLE, RTS_CONTROL_HANDSHAKE, true, false},
        LineCase{"FiveMarkOneHalfNoLines", Line(110, db5BITS, ptMARK, sb1HALFBITS, hfNONE, sfXONXOFF, false),
                 110, 5, MARKPARITY, ONE5STOPBITS, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE, false, true},
        LineCase{"SixOddSpaceRate", Line(4000, db6BITS, ptODD, sb1BITS, hfNONERTSON, sfNONE, true), 4000, 6,
                 ODDPARITY, ONESTOPBIT, DTR_CONTROL_ENABLE, RTS_CONTROL_ENABLE, false, false},
        LineCase{"Space", Line(115200, db8BITS, ptSPACE, sb1BITS, hfNONE, sfNONE, true), 115200, 8,
                 SPACEPARITY, ONESTOPBIT, DTR_CONTROL_ENABLE, RTS_CONTROL_DISABLE, false, false}),
    [](const testing::TestParamInfo<LineCase>& p) { return std::string(p.param.name); });

TEST(DcbForLineLimits, FlowLimitsAreAQuarterOfTheInputQueue) {
    LineSettings s;
    s.inBufSize = 4096;
    const DCB dcb = DcbForDeviceControl(BuildDeviceControl(s), DCB{});
    EXPECT_EQ(dcb.XonLim, 1024);
    EXPECT_EQ(dcb.XoffLim, 1024);
}

TEST(ReadTimeouts, ReturnWithTheFirstBytesAndNeverHoldAWrite) {
    const COMMTIMEOUTS t = ReadAsBytesArriveTimeouts(250);
    EXPECT_EQ(t.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, MAXDWORD);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 250u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 0u);
}

}  // namespace
}  // namespace varelo
