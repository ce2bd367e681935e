// The bus misbehaves on purpose when asked: false checks, choppy, late, silent or echoing.

#include <gtest/gtest.h>

#include "modbus/modbus_frame.h"
#include "sim/tests/bus_exchange.h"

namespace varelo::test {
namespace {

const std::string kPoll = BuildModbusFrame(1, 17, 0, 0, "RTU");

BusOptions echoing() {
    BusOptions options;
    options.echo = true;
    return options;
}

TEST(BadCheck, EveryNthAnswerCarriesAFalseCrcOrLrc) {
    BusOptions options;
    options.wrongCheckEvery = 3;
    BusOnClock sim(options);
    std::vector<bool> right;
    for (int i = 0; i < 6; ++i) {
        const std::string framing = i % 2 == 0 ? "RTU" : "ASCII";
        const OpenedAnswer answer = openAnswer(sim.exchange(BuildModbusFrame(2, 17, 0, 0, framing)), framing);
        EXPECT_EQ(answer.message.substr(0, 2), "\x02\x11") << "the message itself stays right";
        right.push_back(answer.checkRight);
    }
    EXPECT_EQ(right, (std::vector<bool>{true, true, false, true, true, false}));
}

TEST(Split, AnswerGoesOutInPiecesAtTheGaps) {
    BusOnClock sim({}, OutputPacing{.pieceSize = 5, .pieceGap = 20ms});
    const SimInstant t = sim.now;
    sim.bus.receive(kPoll, t);
    std::string whole = sim.bus.takeDue(t);
    EXPECT_EQ(whole.size(), 5u);
    EXPECT_EQ(sim.bus.nextWakeUp(), t + 20ms);
    EXPECT_EQ(sim.bus.takeDue(t + 19ms), "");
    for (SimInstant next = t + 20ms; sim.bus.nextWakeUp(); next += 20ms) {
        ASSERT_EQ(sim.bus.nextWakeUp(), next);
        const std::string piece = sim.bus.takeDue(next);
        EXPECT_LE(piece.size(), 5u);
        whole += piece;
    }
    EXPECT_TRUE(openRtu(whole).checkRight);
    EXPECT_EQ(whole.size(), 3u + 14u + 2u);
}

TEST(Delay, AnswerIsHeldBackAndTheEchoIsNot) {
    BusOnClock sim(echoing(), OutputPacing{.delay = 300ms});
    const SimInstant t = sim.now;
    sim.bus.receive(kPoll, t);
    EXPECT_EQ(sim.bus.takeDue(t), kPoll);
    EXPECT_EQ(sim.bus.nextWakeUp(), t + 300ms);
    EXPECT_EQ(sim.bus.takeDue(t + 299ms), "");
    EXPECT_TRUE(openRtu(sim.bus.takeDue(t + 300ms)).checkRight);
}

// Answers that come faster than the pacing lets them out queue up in order.
TEST(Delay, AnswersKeepTheirOrder) {
    BusOnClock sim({}, OutputPacing{.delay = 100ms, .pieceSize = 4, .pieceGap = 50ms});
    const SimInstant t = sim.now;
    sim.bus.receive(BuildModbusFrame(1, 17, 0, 0, "RTU"), t);
    sim.bus.receive(BuildModbusFrame(2, 17, 0, 0, "RTU"), t + 10ms);
    const std::string both = sim.bus.takeDue(t + 10s);
    EXPECT_TRUE(openRtu(both.substr(0, 19)).checkRight);
    EXPECT_TRUE(openRtu(both.substr(19)).checkRight);
    EXPECT_EQ(both[19], '\x02');
}

TEST(Echo, EveryByteComesBackBeforeTheAnswerEvenUnanswered) {
    BusOnClock sim(echoing());
    const std::string noise("\x42\x00\x17", 3);
    EXPECT_EQ(sim.exchange(noise), noise);
    const std::string sent = sim.exchange(kPoll);
    EXPECT_EQ(sent.substr(0, kPoll.size()), kPoll);
    EXPECT_TRUE(openRtu(sent.substr(kPoll.size())).checkRight);
}

TEST(Silent, NeverAnswersButWritesStillAct) {
    BusOptions options;
    options.silent = true;
    BusOnClock sim(options);
    EXPECT_EQ(sim.exchange(kPoll), "");
    EXPECT_EQ(sim.exchange(BuildModbusFrame(3, 6, 10, 0x1234, "RTU")), "");
    EXPECT_EQ(sim.bus.memory().holdingRegister(3, 10), 0x1234);
}

}  // namespace
}  // namespace varelo::test
