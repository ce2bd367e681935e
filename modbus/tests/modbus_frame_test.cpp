#include "modbus/modbus_frame.h"

#include "modbus/tests/hex_bytes.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

using testing::bytes;
using testing::hex;

struct FrameCase {
    std::int32_t station, function, address, quantity;
    std::string framing;
    std::string frame;  // RTU frames as hex bytes, ASCII frames as their characters
};

std::string expectedFrame(const FrameCase& c) {
    return c.framing == "RTU" ? bytes(c.frame) : c.frame;
}

TEST(BuildModbusFrame, BuildsEveryRequestLayoutInBothFramings) {
    const FrameCase cases[] = {
        {1, 17, 0, 0, "ASCII", ":0111EE\r\n"},
        {247, 17, 0, 0, "ASCII", ":F711F8\r\n"},
        {1, 17, 0, 0, "RTU", "01 11 C0 2C"},
        {2, 17, 0, 0, "RTU", "02 11 C0 DC"},
        {1, 3, 0, 32, "RTU", "01 03 00 00 00 20 44 12"},
        {1, 3, 32, 32, "RTU", "01 03 00 20 00 20 45 D8"},
        {1, 3, 64, 32, "RTU", "01 03 00 40 00 20 45 C6"},
        {1, 3, 96, 32, "RTU", "01 03 00 60 00 20 44 0C"},
        {1, 3, 0, 32, "ASCII", ":010300000020DC\r\n"},
        {17, 3, 107, 3, "RTU", "11 03 00 6B 00 03 76 87"},
        {5, 9, 1, 2, "RTU", "FF FF"},  // a code outside the table: empty message, check only
        {5, 9, 1, 2, "ASCII", ":00\r\n"},
        {5, 259, 1, 2, "RTU", "FF FF"},                        // not taken for its low byte, 3
        {1, 5, 16, 0xFF00, "RTU", "01 05 00 10 FF 00 8D FF"},  // the quantity is the value written
        {1, 5, 16, 0xFF00, "ASCII", ":01050010FF00EB\r\n"},
        {1, 8, 0x1234, 7, "RTU", "01 08 01 E6"},  // diagnostics: no sub-function
        {0, 17, 0, 0, "RTU", "00 11 C1 BC"},      // broadcast is a station like any other
        {0, 17, 0, 0, "ASCII", ":0011EF\r\n"},
        {257, 3, 100000, 1, "RTU", "01 03 86 A0 00 01 AD 60"},  // low 8 and low 16 bits
        {257, 3, 100000, 1, "ASCII", ":010386A00001D5\r\n"},
        {17, 17, 0, 0, "rtu", ":1111DE\r\n"},  // only "RTU" exactly selects RTU
        {17, 17, 0, 0, "RTU ", ":1111DE\r\n"},
        {17, 17, 0, 0, "", ":1111DE\r\n"},
    };
    for (const auto& c : cases) {
        const std::string frame = BuildModbusFrame(c.station, c.function, c.address, c.quantity, c.framing);
        EXPECT_EQ(hex(frame), hex(expectedFrame(c)))
            << "station " << c.station << ", function " << c.function << ", address " << c.address
            << ", quantity " << c.quantity << ", \"" << c.framing << '"';
    }
}

TEST(BuildModbusFrame, StationOnlyRequestsIgnoreAddressAndQuantity) {
    for (const std::int32_t function : {7, 8, 11, 12, 17}) {
        for (const std::string framing : {"RTU", "ASCII"}) {
            EXPECT_EQ(BuildModbusFrame(3, function, 0, 0, framing),
                      BuildModbusFrame(3, function, 500, 9, framing))
                << function << ' ' << framing;
            EXPECT_EQ(BuildModbusFrame(3, function, 0, 0, framing).size(), framing == "RTU" ? 4u : 9u);
        }
    }
}

TEST(ModbusChecks, MatchTheStandardsValues) {
    EXPECT_EQ(hex(ModbusCrc16("123456789")), "37 4B");  // CRC 4B37, low byte first
    EXPECT_EQ(hex(ModbusCrc16("")), "FF FF");
    EXPECT_EQ(hex(ModbusCrc16(bytes("11 03 00 6B 00 03"))), "76 87");

    EXPECT_EQ(hex(ModbusLrc("")), "00");
    EXPECT_EQ(hex(ModbusLrc(bytes("01 11"))), "EE");
    EXPECT_EQ(hex(ModbusLrc(bytes("80 80"))), "00");  // the sum wraps at 256
    EXPECT_EQ(hex(ModbusLrc(bytes("FF"))), "01");
}

TEST(ModbusChecks, AFrameFollowedByItsCrcChecksToZero) {
    // The property a receiver relies on: the CRC over message and CRC is 0.
    const std::string frame = BuildModbusFrame(1, 3, 0, 32, "RTU");
    EXPECT_EQ(hex(ModbusCrc16(frame)), "00 00");
}

}  // namespace
}  // namespace varelo
