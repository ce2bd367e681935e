#include "modbus/register_values.h"

#include "modbus/tests/hex_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace varelo {
namespace {

using testing::bytes;

// One register pair, 41 48 F5 C3 as it came on the line, read in every order.
// The expected numbers were computed apart from Varelo by Python's struct:
// the bytes put in the order's sequence and unpacked with '>f', '>I' and '>i'
// (e.g. CDAB: struct.unpack('>f', bytes.fromhex('F5C34148'))).
struct PairCase {
    WordOrder order;
    double f32;  // Python's double for the float; compared as a float
    const char* u32;
    const char* i32;
};
const PairCase kPair[] = {
    {WordOrder::ABCD, 12.5600004196167, "1095300547", "1095300547"},
    {WordOrder::CDAB, -4.9503024827452626e+32, "4123214152", "-171753144"},
    {WordOrder::BADC, 198415.828125, "1212269557", "1212269557"},
    {WordOrder::DCBA, -490.5644836425781, "3287631937", "-1007335359"},
};

TEST(ReadRegisters, OneRegisterPairInEveryOrderAsFloatAndInteger) {
    const std::string data = bytes("41 48 F5 C3");
    for (const PairCase& c : kPair) {
        const RegisterValues f = ReadRegisters(data, RegisterType::F32, c.order);
        ASSERT_EQ(f.values.size(), 1u) << WordOrderName(c.order);
        EXPECT_EQ(std::strtof(f.values[0].text.c_str(), nullptr), static_cast<float>(c.f32))
            << WordOrderName(c.order) << ": " << f.values[0].text;
        EXPECT_EQ(ReadRegisters(data, RegisterType::U32, c.order).values[0].text, c.u32) << WordOrderName(c.order);
        EXPECT_EQ(ReadRegisters(data, RegisterType::I32, c.order).values[0].text, c.i32) << WordOrderName(c.order);
        EXPECT_TRUE(f.note.empty());
    }
}

// 40 09 21 FB 54 44 2D 18 is pi as a big-endian double; the other orders'
// numbers come from Python's struct ('>d', '>Q') in the same way.
TEST(ReadRegisters, FourRegistersAsSixtyFourBitValues) {
    const std::string data = bytes("40 09 21 FB 54 44 2D 18");
    EXPECT_EQ(ReadRegisters(data, RegisterType::F64, WordOrder::ABCD).values[0].text, "3.141592653589793");
    EXPECT_EQ(ReadRegisters(data, RegisterType::U64, WordOrder::ABCD).values[0].text, "4614256656552045848");
    EXPECT_EQ(ReadRegisters(data, RegisterType::U64, WordOrder::CDAB).values[0].text, "3249439782752436233");
    EXPECT_EQ(ReadRegisters(data, RegisterType::I64, WordOrder::BADC).values[0].text, "666808865149687853");
    EXPECT_EQ(std::strtod(ReadRegisters(data, RegisterType::F64, WordOrder::DCBA).values[0].text.c_str(), nullptr),
              3.207375630676366e-192);
}

TEST(ReadRegisters, SingleRegistersAsUnsignedSignedAndHex) {
    const std::string data = bytes("FF FE 00 0A");
    const RegisterValues u = ReadRegisters(data, RegisterType::U16, WordOrder::DCBA);  // order means nothing here
    ASSERT_EQ(u.values.size(), 2u);
    EXPECT_EQ(u.values[0].text, "65534");
    EXPECT_EQ(u.values[1].text, "10");
    EXPECT_EQ(u.values[1].offset, 1);
    EXPECT_EQ(ReadRegisters(data, RegisterType::I16, WordOrder::ABCD).values[0].text, "-2");
    const RegisterValues h = ReadRegisters(data, RegisterType::Hex, WordOrder::ABCD);
    EXPECT_EQ(h.values[0].text, "FFFE");
    EXPECT_EQ(h.values[0].json, "\"FFFE\"");
}

TEST(ReadRegisters, WiderValuesStartAtEveryGroupAndWhatIsLeftIsNoted) {
    // Five registers as u32: values at offsets 0 and 2, the fifth register left over.
    const RegisterValues five = ReadRegisters(bytes("00 00 00 01 00 00 00 02 00 03"), RegisterType::U32, WordOrder::ABCD);
    ASSERT_EQ(five.values.size(), 2u);
    EXPECT_EQ(five.values[0].text, "1");
    EXPECT_EQ(five.values[1].offset, 2);
    EXPECT_EQ(five.values[1].text, "2");
    EXPECT_EQ(five.note, "1 register left over, too few for a u32");
    // Three registers are too few for one f64: no value, and the note says so.
    const RegisterValues three = ReadRegisters(bytes("00 01 00 02 00 03"), RegisterType::F64, WordOrder::ABCD);
    EXPECT_TRUE(three.values.empty());
    EXPECT_EQ(three.note, "3 registers left over, too few for a f64");
    EXPECT_EQ(ReadRegisters(bytes("00 01 02"), RegisterType::U16, WordOrder::ABCD).note, "an odd byte left over");
}

TEST(ReadRegisters, NonFiniteFloatsAreJsonStrings) {
    const RegisterValues nan = ReadRegisters(bytes("7F C0 00 00 7F 80 00 00"), RegisterType::F32, WordOrder::ABCD);
    EXPECT_EQ(nan.values[0].json, "\"nan\"");
    EXPECT_EQ(nan.values[1].json, "\"inf\"");
}

TEST(BitList, FirstBitOfTheFirstByteFirstAndOnlyTheBitsAskedFor) {
    // CD 01: coils 19 to 28 of the standard's example, 1011 0011 1 0.
    EXPECT_EQ(BitList(bytes("CD 01"), 10), "1 0 1 1 0 0 1 1 1 0");
    EXPECT_EQ(BitList(bytes("CD"), 0), "1 0 1 1 0 0 1 1");
    EXPECT_EQ(BitList(bytes("01"), 20, ','), "1,0,0,0,0,0,0,0");  // no more than the data holds
}

TEST(ParseRegisterType, KnowsTheNamesTheCommandLineTakes) {
    for (const char* name : {"u16", "i16", "hex", "u32", "i32", "f32", "u64", "i64", "f64"}) {
        const auto type = ParseRegisterType(name);
        ASSERT_TRUE(type) << name;
        EXPECT_STREQ(RegisterTypeName(*type), name);
    }
    EXPECT_FALSE(ParseRegisterType("float"));
    for (const char* name : {"ABCD", "CDAB", "BADC", "DCBA"}) EXPECT_STREQ(WordOrderName(*ParseWordOrder(name)), name);
    EXPECT_FALSE(ParseWordOrder("abcd"));
}

}  // namespace
}  // namespace varelo
