// The simulated slaves answer the frames Varelo's own master builds.

#include <gtest/gtest.h>

#include <cctype>

#include "modbus/modbus_frame.h"
#include "modbus/tag_reader.h"
#include "sim/demo_tag.h"
#include "sim/tests/bus_exchange.h"

namespace varelo::test {
namespace {

struct WorkedRequest {
    int station, function, address, quantity;
    const char* framing;
};

class WorkedRequestAnswer : public ::testing::TestWithParam<WorkedRequest> {};

// Every request of the frame-encoding table gets an answer with the right
// check, station, function and byte count, and registers read as the slave holds them.
TEST_P(WorkedRequestAnswer, IsWellFormedAndCarriesTheSlavesData) {
    const WorkedRequest r = GetParam();
    BusOnClock sim(BusOptions{.stations = {1, 247}});
    const OpenedAnswer answer = openAnswer(
        sim.exchange(BuildModbusFrame(r.station, r.function, r.address, r.quantity, r.framing)), r.framing);

    ASSERT_TRUE(answer.checkRight);
    ASSERT_GE(answer.message.size(), 3u);
    EXPECT_EQ(static_cast<unsigned char>(answer.message[0]), r.station);
    EXPECT_EQ(static_cast<unsigned char>(answer.message[1]), r.function);
    const std::size_t byteCount = static_cast<unsigned char>(answer.message[2]);
    ASSERT_EQ(answer.message.size(), 3 + byteCount);
    const std::string data = answer.message.substr(3);

    if (r.function == 17) {
        const std::string text = "VARELO-SIM " + std::to_string(r.station);
        EXPECT_EQ(data, (std::string{static_cast<char>(r.station), '\xFF'} + text));
        return;
    }
    ASSERT_EQ(byteCount, 2u * r.quantity);
    for (int i = 0; i < r.quantity; ++i) {
        const int address = r.address + i;
        const int value =
            static_cast<unsigned char>(data[2 * i]) << 8 | static_cast<unsigned char>(data[2 * i + 1]);
        const int expected = r.station == 1 && address < 128 ? DemoTagRegister(address) : address;
        EXPECT_EQ(value, expected) << "register " << address;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FrameTable, WorkedRequestAnswer,
    ::testing::Values(WorkedRequest{1, 17, 0, 0, "ASCII"}, WorkedRequest{247, 17, 0, 0, "ASCII"},
                      WorkedRequest{1, 17, 0, 0, "RTU"}, WorkedRequest{2, 17, 0, 0, "RTU"},
                      WorkedRequest{1, 3, 0, 32, "RTU"}, WorkedRequest{1, 3, 32, 32, "RTU"},
                      WorkedRequest{1, 3, 0, 32, "ASCII"}, WorkedRequest{17, 3, 107, 3, "RTU"}));

// Varelo's own tag reader session against the simulated station 1: a whole
// pass of four blocks gives a map of sixteen lines of readable text.
TEST(DemoTag, ReadsAsTextInVarelosTagMap) {
    BusOnClock sim;
    SharedState state;
    TagReader reader(state);
    reader.prepareSession(1);
    reader.beginSession();
    std::optional<std::string> map;
    for (int block = 0; block < 4 && !map; ++block) {
        const TagOutcome outcome = reader.ProcessTagResponse(sim.exchange(state.TlgToSend));
        ASSERT_EQ(outcome.labelPaso, std::to_string(block + 1)) << "block " << block << " refused";
        map = outcome.mapToShow;
    }
    ASSERT_TRUE(map.has_value());
    const std::vector<std::string> lines = TagMapLines(*map);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[1], "000|0|VARELO DEMO TAG ");
    EXPECT_EQ(lines[2], "008|1|SERIAL 000123   ");
    for (char c : *map) EXPECT_TRUE(std::isprint(static_cast<unsigned char>(c))) << int(c);
}

std::string rtuMessage(std::initializer_list<int> bytes) {
    std::string message;
    for (int b : bytes) message += static_cast<char>(b);
    return message;
}

std::string askRtu(BusOnClock& sim, const std::string& message) {
    const std::string sent = sim.exchange(message + ModbusCrc16(message));
    if (sent.empty()) return "(none)";
    const OpenedAnswer answer = openRtu(sent);
    return answer.checkRight ? answer.message : "(bad check)";
}

struct BitsAndWrites {
    const char* name;
    std::string request;  // message without the CRC
    std::string answer;   // message without the CRC, or "(none)"
};

class FunctionAnswer : public ::testing::TestWithParam<BitsAndWrites> {};

TEST_P(FunctionAnswer, FollowsTheStandard) {
    BusOnClock sim;
    EXPECT_EQ(askRtu(sim, GetParam().request), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Functions, FunctionAnswer,
    ::testing::Values(
        // Coils are on at odd addresses, discrete inputs at even ones; bit 0 of
        // the first data byte is the first item.
        BitsAndWrites{"ReadCoils", rtuMessage({2, 1, 0, 0, 0, 10}), rtuMessage({2, 1, 2, 0xAA, 0x02})},
        BitsAndWrites{"ReadDiscreteInputs", rtuMessage({2, 2, 0, 1, 0, 3}), rtuMessage({2, 2, 1, 0x02})},
        BitsAndWrites{"ReadInputRegisters", rtuMessage({3, 4, 0x12, 0x34, 0, 1}),
                      rtuMessage({3, 4, 2, 0x12, 0x34})},
        BitsAndWrites{"WriteCoilEchoes", rtuMessage({2, 5, 0, 7, 0xFF, 0}),
                      rtuMessage({2, 5, 0, 7, 0xFF, 0})},
        BitsAndWrites{"WriteRegisterEchoes", rtuMessage({4, 6, 0, 9, 0xBE, 0xEF}),
                      rtuMessage({4, 6, 0, 9, 0xBE, 0xEF})},
        BitsAndWrites{"UnknownFunction", rtuMessage({1, 7}), rtuMessage({1, 0x87, 1})},
        BitsAndWrites{"DiagnosticsNotServed", rtuMessage({1, 8}), rtuMessage({1, 0x88, 1})},
        BitsAndWrites{"WriteMultipleNotServed", rtuMessage({1, 16, 0, 0, 0, 1, 2, 0, 5}),
                      rtuMessage({1, 0x90, 1})},
        BitsAndWrites{"TooManyRegisters", rtuMessage({1, 3, 0, 0, 0, 126}), rtuMessage({1, 0x83, 3})},
        BitsAndWrites{"NoRegisters", rtuMessage({1, 3, 0, 0, 0, 0}), rtuMessage({1, 0x83, 3})},
        BitsAndWrites{"PastTheLastRegister", rtuMessage({1, 3, 0xFF, 0xFF, 0, 2}), rtuMessage({1, 0x83, 2})},
        BitsAndWrites{"TooManyCoils", rtuMessage({1, 1, 0, 0, 0x07, 0xD1}), rtuMessage({1, 0x81, 3})},
        BitsAndWrites{"CoilValueNeitherOnNorOff", rtuMessage({1, 5, 0, 0, 0x12, 0x34}),
                      rtuMessage({1, 0x85, 3})},
        BitsAndWrites{"StationNotServed", rtuMessage({7, 3, 0, 0, 0, 1}), "(none)"},
        BitsAndWrites{"BroadcastRead", rtuMessage({0, 3, 0, 0, 0, 1}), "(none)"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(Writes, AreKeptAndReadBack) {
    BusOnClock sim;
    askRtu(sim, rtuMessage({1, 6, 0, 0, 0x41, 0x5A}));  // register 0 of the tag: "ZA" in the map
    askRtu(sim, rtuMessage({5, 5, 0, 3, 0, 0}));        // coil 3 off
    EXPECT_EQ(askRtu(sim, rtuMessage({1, 3, 0, 0, 0, 2})), rtuMessage({1, 3, 4, 0x41, 0x5A, 0x45, 0x52}));
    EXPECT_EQ(askRtu(sim, rtuMessage({5, 1, 0, 0, 0, 4})), rtuMessage({5, 1, 1, 0x02}));
    EXPECT_EQ(askRtu(sim, rtuMessage({6, 1, 0, 0, 0, 4})), rtuMessage({6, 1, 1, 0x0A}))
        << "other stations unchanged";
}

TEST(Broadcast, WritesEveryServedStationAndAnswersNothing) {
    BusOnClock sim(BusOptions{.stations = {2, 4}});
    EXPECT_EQ(askRtu(sim, rtuMessage({0, 6, 0, 50, 0x12, 0x34})), "(none)");
    for (int station : {2, 3, 4})
        EXPECT_EQ(askRtu(sim, rtuMessage({station, 3, 0, 50, 0, 1})),
                  rtuMessage({station, 3, 2, 0x12, 0x34}));
}

}  // namespace
}  // namespace varelo::test
