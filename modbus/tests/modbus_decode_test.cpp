#include "modbus/modbus_decode.h"

#include "modbus/tests/frame_summary.h"
#include "modbus/tests/hex_bytes.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

using testing::bytes;

struct DecodeCase {
    const char* what;
    const char* frame;  // RTU: hex bytes; ASCII: the characters, CR LF written as \r\n
    const char* expected;  // FrameSummary() of the decoded frame
    RoleHint hint = RoleHint::Any;
};

// The RTU frames' CRCs and the ASCII frames' LRCs were computed apart from
// Varelo's own code, by a few lines of Python (the CRC-16 with polynomial
// A001 reflected, initial FFFF; the LRC as the two's complement of the byte
// sum). Where pymodbus 3.0 builds the same request or answer (read holding
// registers and its answer, write multiple coils, report slave id, the
// illegal-data-address exception), its ModbusRtuFramer and ModbusAsciiFramer
// write exactly these bytes. libmodbus's own frames are checked live in
// libmodbus_frames_test.cpp.
const DecodeCase kRtu[] = {
    {"read coils", "11 01 00 13 00 25 0E 84", "request st=17 fn=1 a=19 n=37"},
    {"its answer", "11 01 05 CD 6B B2 0E 1B 45 E6", "answer st=17 fn=1 n=40 d=CD6BB20E1B"},
    {"read discrete inputs", "11 02 00 C4 00 16 BA A9", "request st=17 fn=2 a=196 n=22"},
    {"a three-byte bit answer fits both ways", "11 02 03 AC DB 35 20 18", "either st=17 fn=2 a=940 n=56117"},
    {"...and read as an answer", "11 02 03 AC DB 35 20 18", "answer st=17 fn=2 n=24 d=ACDB35", RoleHint::Answer},
    {"read holding registers", "11 03 00 6B 00 03 76 87", "request st=17 fn=3 a=107 n=3"},
    {"its answer", "11 03 06 02 2B 00 00 00 64 C8 BA", "answer st=17 fn=3 n=3 d=022B00000064"},
    {"read input registers", "11 04 00 08 00 01 B2 98", "request st=17 fn=4 a=8 n=1"},
    {"its answer", "11 04 02 00 0A F8 F4", "answer st=17 fn=4 n=1 d=000A"},
    {"write single coil: answer is a copy", "11 05 00 AC FF 00 4E 8B", "either st=17 fn=5 a=172 v=65280 d=FF00"},
    {"write single register", "11 06 00 01 00 03 9A 9B", "either st=17 fn=6 a=1 v=3 d=0003"},
    {"read exception status", "11 07 4C 22", "request st=17 fn=7"},
    {"its answer", "11 07 6D E2 18", "answer st=17 fn=7 v=109"},
    {"diagnostics with a sub-function", "11 08 00 00 A5 37 D8 1D", "either st=17 fn=8 v=0 d=A537"},
    {"diagnostics bare, as Varelo's master sends it", "11 08 0C 26", "request st=17 fn=8"},
    {"get comm event counter", "11 0B 4C 27", "request st=17 fn=11"},
    {"its answer", "11 0B FF FF 01 08 A6 E9", "answer st=17 fn=11 n=264 v=65535"},
    {"get comm event log", "11 0C 0D E5", "request st=17 fn=12"},
    {"its answer", "11 0C 08 00 00 01 08 01 21 20 00 59 01", "answer st=17 fn=12 d=0000010801212000"},
    {"write multiple coils", "11 0F 00 13 00 0A 02 CD 01 BF 0B", "request st=17 fn=15 a=19 n=10 d=CD01"},
    {"its answer", "11 0F 00 13 00 0A 26 99", "answer st=17 fn=15 a=19 n=10"},
    {"write multiple registers", "11 10 00 01 00 02 04 00 0A 01 02 C6 F0", "request st=17 fn=16 a=1 n=2 d=000A0102"},
    {"its answer", "11 10 00 01 00 02 12 98", "answer st=17 fn=16 a=1 n=2"},
    {"report slave id", "11 11 CD EC", "request st=17 fn=17"},
    {"its answer", "11 11 05 56 41 52 FF 00 3D 8E", "answer st=17 fn=17 d=564152FF00"},
    {"mask write register", "11 16 00 04 00 F2 00 25 66 E2", "either st=17 fn=22 a=4 d=00F20025"},
    {"read/write multiple registers", "11 17 00 03 00 06 00 0E 00 03 06 00 FF 00 FF 00 FF 4B 54",
     "request st=17 fn=23 a=3 n=6 wa=14 wn=3 d=00FF00FF00FF"},
    {"its answer", "11 17 0C 00 FE 0A CD 00 01 00 03 00 0D 00 FF 0D 75", "answer st=17 fn=23 n=6 d=00FE0ACD00010003000D00FF"},
    {"read device identification", "11 2B 0E 01 00 B1 B4", "request st=17 fn=43 v=14 d=0100"},
    {"its answer", "11 2B 0E 01 01 00 00 01 00 03 56 41 52 63 0B", "answer st=17 fn=43 v=14 d=01010000010003564152"},
    {"a function of no known layout", "11 14 06 00 01 FC 32", "unknown st=17 fn=20 d=060001"},
    // Exceptions
    {"illegal function", "11 81 01 80 55", "exception st=17 fn=1 x=1"},
    {"illegal data address", "11 83 02 C1 34", "exception st=17 fn=3 x=2"},
    {"slave device failure", "11 90 04 4C 06", "exception st=17 fn=16 x=4"},
    {"gateway path unavailable", "11 85 0A C3 52", "exception st=17 fn=5 x=10"},
    {"gateway target failed", "11 86 0B 02 62", "exception st=17 fn=6 x=11"},
    {"an exception code of no name", "11 83 09 80 F3", "exception st=17 fn=3 x=9"},
    // Frames that are none
    {"nothing", "", "unknown too-short st=0 fn=0"},
    {"three bytes", "11 03 00", "unknown too-short st=17 fn=3"},
    {"a bad CRC, fields still read", "11 03 00 6B 00 03 76 88", "request bad-check st=17 fn=3 a=107 n=3"},
    {"an answer whose count is not its length", "11 03 06 02 2B 00 00 E3 82", "answer count-mismatch st=17 fn=3"},
    {"a register answer with an odd count", "01 03 05 00 05 00 06 00 B1 FE", "answer count-mismatch st=1 fn=3 d=0005000600"},
    {"a read request one byte short", "11 03 00 6B 00 F7 77", "request unknown-layout st=17 fn=3"},
    {"a multiple write whose quantity needs other bytes", "11 10 00 01 00 03 04 00 0A 01 02 C7 21",
     "request count-mismatch st=17 fn=16 a=1 n=3 d=000A0102"},
    {"an exception with two codes", "11 83 02 02 74 51", "exception unknown-layout st=17 fn=3"},
};

const DecodeCase kAscii[] = {
    {"read holding registers", ":1103006B00037E\r\n", "request st=17 fn=3 a=107 n=3"},
    {"its answer", ":110306022B0000006455\r\n", "answer st=17 fn=3 n=3 d=022B00000064"},
    {"lower-case digits", ":110306022b0000006455\r\n", "answer st=17 fn=3 n=3 d=022B00000064"},
    {"write multiple coils", ":110F0013000A02CD01F3\r\n", "request st=17 fn=15 a=19 n=10 d=CD01"},
    {"report slave id", ":1111DE\r\n", "request st=17 fn=17"},
    {"illegal data address", ":1183026A\r\n", "exception st=17 fn=3 x=2"},
    {"bad LRC", ":1103006B00037F\r\n", "request bad-check st=17 fn=3 a=107 n=3"},
    {"no CR LF", ":1103006B00037E", "unknown no-cr-lf st=0 fn=0"},
    {"only LF", ":1103006B00037E\n", "unknown no-cr-lf st=0 fn=0"},
    {"odd digit count", ":1103006B00037\r\n", "unknown odd-digits st=0 fn=0"},
    {"not a digit", ":11030G6B00037E\r\n", "unknown not-hex st=0 fn=0"},
    {"no colon", "1103006B00037E\r\n", "unknown no-colon st=0 fn=0"},
    {"station and LRC only", ":11EF\r\n", "unknown too-short st=17 fn=0"},
    {"the master's own ASCII poll", ":0111EE\r\n", "request st=1 fn=17"},
};

TEST(DecodeTelegram, ReadsRtuFramesOfEveryFunction) {
    for (const DecodeCase& c : kRtu) {
        const std::string frame = bytes(c.frame);
        const DecodedFrame f = DecodeTelegram(frame, TelegramFraming::Rtu, c.hint);
        EXPECT_EQ(FrameSummary(f), std::string(c.expected)) << c.what << ": " << c.frame;
    }
}

TEST(DecodeTelegram, ReadsAsciiFrames) {
    for (const DecodeCase& c : kAscii) {
        const DecodedFrame f = DecodeTelegram(c.frame, TelegramFraming::Ascii, c.hint);
        EXPECT_EQ(FrameSummary(f), std::string(c.expected)) << c.what;
    }
}

TEST(DecodeTelegram, AWrongCheckSaysWhatItShouldHaveBeen) {
    const DecodedFrame rtu = DecodeTelegram(bytes("11 03 00 6B 00 03 76 88"), TelegramFraming::Rtu);
    EXPECT_EQ(rtu.detail, "CRC 8876, expected 8776");
    const DecodedFrame ascii = DecodeTelegram(":1103006B00037F\r\n", TelegramFraming::Ascii);
    EXPECT_EQ(ascii.detail, "LRC 7F, expected 7E");
}

TEST(DecodeTelegram, RefusesFramesLongerThanAnyRequestAllows) {
    // 258 bytes: longer than any RTU frame, whatever its check.
    const DecodedFrame rtu = DecodeTelegram(bytes("01 03 FF") + std::string(255, '\x11'), TelegramFraming::Rtu);
    EXPECT_EQ(rtu.problem, FrameProblem::TooLong) << rtu.detail;
    // 251 data bytes with a right LRC: a byte count that matches, but no read asks for so many.
    const DecodedFrame ascii = DecodeTelegram(AsciiFrame(bytes("01 01 FB") + std::string(251, '\x11')),
                                              TelegramFraming::Ascii);
    EXPECT_EQ(ascii.problem, FrameProblem::TooLong);
    EXPECT_EQ(ascii.detail, "251 data bytes, more than any request allows (250)");
    // 250 are allowed.
    EXPECT_TRUE(DecodeTelegram(AsciiFrame(bytes("01 01 FA") + std::string(250, '\x11')), TelegramFraming::Ascii).valid());
}

TEST(DecodeTelegram, LayingAnEitherFrameOutAsAnAnswerReadsItsByteCount) {
    DecodedFrame f = DecodeTelegram(bytes("11 02 03 AC DB 35 20 18"), TelegramFraming::Rtu);
    ASSERT_EQ(f.role, FrameRole::Either);
    EXPECT_TRUE(LayOutAs(f, FrameRole::Answer));
    EXPECT_EQ(FrameSummary(f), "answer st=17 fn=2 n=24 d=ACDB35");
    DecodedFrame g = DecodeTelegram(bytes("11 03 00 6B 00 03 76 87"), TelegramFraming::Rtu);
    EXPECT_FALSE(LayOutAs(g, FrameRole::Answer));  // a byte count of 0
    EXPECT_EQ(g.problem, FrameProblem::UnknownLayout);
    EXPECT_TRUE(LayOutAs(g, FrameRole::Request));
    EXPECT_TRUE(g.valid());
}

TEST(DecodeTelegram, NamesFunctionsAndExceptions) {
    EXPECT_EQ(FunctionName(3), "read holding registers");
    EXPECT_EQ(FunctionName(43), "encapsulated interface");
    EXPECT_EQ(FunctionName(20), "function 20");
    EXPECT_EQ(ExceptionName(1), "illegal function");
    EXPECT_EQ(ExceptionName(2), "illegal data address");
    EXPECT_EQ(ExceptionName(3), "illegal data value");
    EXPECT_EQ(ExceptionName(4), "slave device failure");
    EXPECT_EQ(ExceptionName(5), "acknowledge");
    EXPECT_EQ(ExceptionName(6), "slave device busy");
    EXPECT_EQ(ExceptionName(8), "memory parity error");
    EXPECT_EQ(ExceptionName(10), "gateway path unavailable");
    EXPECT_EQ(ExceptionName(11), "gateway target failed");
    EXPECT_EQ(ExceptionName(9), "exception 9");
}

}  // namespace
}  // namespace varelo
