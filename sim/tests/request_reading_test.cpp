// Garbled, truncated and noisy requests get no answer, and the bus keeps serving.

#include <gtest/gtest.h>

#include "modbus/modbus_frame.h"
#include "sim/modbus_request_reader.h"
#include "sim/tests/bus_exchange.h"

namespace varelo::test {
namespace {

const std::string kRtuRead = BuildModbusFrame(1, 3, 0, 4, "RTU");
const std::string kAsciiRead = BuildModbusFrame(1, 3, 0, 4, "ASCII");

std::string withByteFlipped(std::string frame, std::size_t index) {
    frame[index] = static_cast<char>(frame[index] ^ 0x01);
    return frame;
}

struct Garble {
    const char* name;
    std::string bytes;     // sent first, followed by a quiet 50 ms
    std::string nextGood;  // then this good request
};

class GarbledRequest : public ::testing::TestWithParam<Garble> {};

TEST_P(GarbledRequest, GetsNoAnswerAndTheNextRequestIsAnswered) {
    BusOnClock sim;
    EXPECT_EQ(sim.exchange(GetParam().bytes), "");
    const std::string answer = sim.exchange(GetParam().nextGood);
    const OpenedAnswer opened = GetParam().nextGood == kRtuRead ? openRtu(answer) : openAscii(answer);
    EXPECT_TRUE(opened.checkRight) << answer.size() << " bytes";
    EXPECT_EQ(opened.message.substr(0, 3), std::string("\x01\x03\x08", 3));
}

INSTANTIATE_TEST_SUITE_P(
    Garbles, GarbledRequest,
    ::testing::Values(Garble{"RtuBadCrc", withByteFlipped(kRtuRead, 7), kRtuRead},
                      Garble{"RtuBadData", withByteFlipped(kRtuRead, 3), kRtuRead},
                      Garble{"RtuTruncated", kRtuRead.substr(0, 5), kRtuRead},
                      Garble{"RtuNoise", std::string("\x13\x37\xFF\x00 noise", 10), kRtuRead},
                      Garble{"RtuOverlong", std::string(600, '\x55'), kRtuRead},
                      // The LRC F8 made F7.
                      Garble{"AsciiBadLrc", ":010300000004F7\r\n", kAsciiRead},
                      Garble{"AsciiNotHex", ":01030000000GF8\r\n", kAsciiRead},
                      Garble{"AsciiOddDigits", ":0103000000004F8\r\n", kAsciiRead},
                      Garble{"AsciiNoCarriageReturn", kAsciiRead.substr(0, kAsciiRead.size() - 2) + "\n",
                             kAsciiRead},
                      Garble{"AsciiTooShort", ":01FF\r\n", kAsciiRead},
                      // The next frame's ':' abandons the truncated one.
                      Garble{"AsciiTruncated", kAsciiRead.substr(0, 9), kAsciiRead},
                      Garble{"AsciiOverlong", ":" + std::string(600, '0'), kAsciiRead}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(AsciiReading, NoiseRightBeforeTheColonIsSkipped) {
    BusOnClock sim;
    EXPECT_TRUE(openAscii(sim.exchange(std::string("\x7F\x00garbage\r\n", 11) + kAsciiRead)).checkRight);
}

TEST(AsciiReading, LowerCaseDigitsAreUnderstoodAndTheAnswerIsUpperCase) {
    BusOnClock sim;
    const std::string answer = sim.exchange(":0111ee\r\n");
    EXPECT_TRUE(openAscii(answer).checkRight);
    EXPECT_EQ(answer.substr(0, 11), ":01110E01FF");
}

// A request that arrives in pieces, each within the silence, is answered as
// soon as it is whole, without waiting for the silence.
TEST(RtuReading, PiecesWithinTheSilenceMakeOneRequest) {
    BusOnClock sim;
    SimInstant t = sim.now;
    sim.bus.receive(kRtuRead.substr(0, 1), t);
    sim.bus.receive(kRtuRead.substr(1, 3), t += 2ms);
    EXPECT_EQ(sim.bus.takeDue(t), "");
    sim.bus.receive(kRtuRead.substr(4), t += 2ms);
    EXPECT_TRUE(openRtu(sim.bus.takeDue(t)).checkRight);
}

TEST(RtuReading, AGapLongerThanTheSilenceSplitsAFrameIntoTwoUnanswered) {
    BusOnClock sim;
    SimInstant t = sim.now;
    sim.bus.receive(kRtuRead.substr(0, 3), t);
    sim.bus.tick(t += 10ms);
    sim.bus.receive(kRtuRead.substr(3), t);
    sim.bus.tick(t += 10ms);
    EXPECT_EQ(sim.bus.takeDue(t), "");
}

TEST(RtuReading, NoiseRightBeforeAFrameIsDroppedAndTheFrameAnswered) {
    BusOnClock sim;
    EXPECT_TRUE(openRtu(sim.exchange(std::string("\x00\x99\x42", 3) + kRtuRead)).checkRight);
}

TEST(RtuReading, TwoRequestsBackToBackAreBothAnswered) {
    BusOnClock sim;
    const std::string sent = sim.exchange(kRtuRead + BuildModbusFrame(2, 17, 0, 0, "RTU"));
    EXPECT_TRUE(openRtu(sent.substr(0, 13)).checkRight);
    EXPECT_TRUE(openRtu(sent.substr(13)).checkRight);
}

// Functions whose request length the slave cannot know end at the silence.
TEST(RtuReading, AFrameOfUnknownLengthEndsAtTheSilence) {
    ModbusRequestReader reader(RtuSilence(9600));
    const std::string message("\x01\x2B\x0E\x01\x00", 5);
    EXPECT_TRUE(reader.feed(message + ModbusCrc16(message), at(0ms)).empty());
    ASSERT_TRUE(reader.nextDeadline().has_value());
    EXPECT_TRUE(reader.expire(*reader.nextDeadline() - 1us).empty());
    const auto requests = reader.expire(*reader.nextDeadline());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].message, message);
    EXPECT_EQ(requests[0].framing, ModbusFraming::Rtu);
    EXPECT_FALSE(reader.nextDeadline().has_value());
}

// Station 58 is ':' in RTU; its frames are still read as RTU.
TEST(RtuReading, AStationWhoseNumberIsAColonIsServed) {
    BusOnClock sim(BusOptions{.stations = {58, 58}});
    const OpenedAnswer answer = openRtu(sim.exchange(BuildModbusFrame(58, 17, 0, 0, "RTU")));
    EXPECT_TRUE(answer.checkRight);
    EXPECT_EQ(answer.message.substr(0, 2), "\x3A\x11");
}

TEST(RtuSilence, IsThreeAndAHalfCharactersButNeverUnderFourMilliseconds) {
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(RtuSilence(1200)), 32083us);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(RtuSilence(9600)), 4010us);
    EXPECT_EQ(RtuSilence(19200), 4ms);
}

}  // namespace
}  // namespace varelo::test
