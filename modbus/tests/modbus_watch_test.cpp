#include "modbus/modbus_watch.h"

#include "modbus/modbus_frame.h"
#include "modbus/tests/frame_summary.h"
#include "modbus/tests/hex_bytes.h"
#include "modbus/watch_render.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

using testing::bytes;

std::string rtu(const std::string& message) {
    const std::string m = bytes(message);
    return m + ModbusCrc16(m);
}

constexpr std::int64_t ms = 1000;

// A watch fed telegrams at chosen times; each entry read back as a short line.
class WatchTest : public ::testing::Test {
  protected:
    void rx(int line, const std::string& frame, std::int64_t startMs, std::int64_t lengthUs = 8 * ms / 10) {
        watch.receive(line, {frame, startMs * ms, startMs * ms + lengthUs});
    }
    void tx(int line, const std::string& frame, std::int64_t startMs) {
        watch.sent(line, {frame, startMs * ms, startMs * ms + 8 * ms / 10});
    }
    // "request 17/3 echoed", "answer 17/3 after 12000 us", "timeout 17/3", "invalid bad-check 17/3" ...
    std::vector<std::string> entries() {
        std::vector<std::string> out;
        for (const WatchEntry& e : watch.take()) {
            std::string s = EntryKindName(e.kind);
            if (e.kind == EntryKind::Invalid) s += std::string(" ") + ProblemKey(e.frame.problem);
            s += " " + std::to_string(e.frame.station) + "/" + std::to_string(e.frame.function);
            if (e.sent) s += " sent";
            if (e.echoed) s += " echoed";
            if (e.broadcast) s += " broadcast";
            if (e.pieces > 1) s += " pieces=" + std::to_string(e.pieces);
            if (e.backToBack) s += " back-to-back";
            if (e.paired && e.kind != EntryKind::Timeout) s += " after " + std::to_string(e.responseUs) + " us";
            if (!e.note.empty()) s += " (" + e.note + ")";
            out.push_back(s);
        }
        return out;
    }
    const StationStatistics& station(int id) { return watch.statistics().stations().at(id); }

    ModbusWatch watch;
    const std::string read17 = rtu("11 03 00 6B 00 03");
    const std::string answer17 = rtu("11 03 06 02 2B 00 00 00 64");
};

using Entries = std::vector<std::string>;

TEST_F(WatchTest, OneLineWithoutEcho_RequestAndAnswerAreOneTransaction) {
    rx(0, read17, 0);
    rx(0, answer17, 12);
    watch.finish();
    // The request ended 0.8 ms after it began; the answer began at 12 ms.
    EXPECT_EQ(entries(), (Entries{"request 17/3", "answer 17/3 after 11200 us"}));
    EXPECT_EQ(station(17).requests, 1);
    EXPECT_EQ(station(17).answers, 1);
    EXPECT_EQ(station(17).responseTimes.min(), 11200);
}

TEST_F(WatchTest, TheAdaptersEchoIsShownOnceAndMarked) {
    rx(0, read17, 0);
    rx(0, read17, 1);
    rx(0, answer17, 12);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3 echoed", "answer 17/3 after 11200 us"}));
    EXPECT_EQ(watch.statistics().echoes, 1);
    EXPECT_EQ(station(17).requests, 1);
}

TEST_F(WatchTest, AnEchoAndAnAnswerWithNoSilenceBetweenThemAreCutApart) {
    rx(0, read17, 0);
    rx(0, read17 + answer17, 1, 1900);  // 19 bytes in 1.9 ms: the answer begins 0.8 ms in
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3 echoed", "answer 17/3 back-to-back after 1000 us"}));
}

TEST_F(WatchTest, AnAnswerInPiecesIsJoinedAndTimedFromItsFirstPiece) {
    rx(0, read17, 0);
    rx(0, answer17.substr(0, 3), 10);
    rx(0, answer17.substr(3, 3), 30);
    rx(0, answer17.substr(6), 50);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3", "answer 17/3 pieces=3 after 9200 us"}));
    EXPECT_EQ(watch.statistics().invalidFrames, 0);
}

TEST_F(WatchTest, AnAnswerCutWhereARequestWouldEndStillWaitsForItsLastPiece) {
    // A 2-register answer is 9 bytes; its first 8 are as long as a read request.
    const std::string read = rtu("02 03 00 10 00 02");
    std::string answer = rtu("02 03 04 00 10 00 11");
    answer.back() = static_cast<char>(answer.back() ^ 0xFF);  // and its check is wrong
    rx(0, read, 0);
    rx(0, answer.substr(0, 4), 10);
    rx(0, answer.substr(4, 4), 25);
    rx(0, answer.substr(8), 40);
    rx(0, read, 300);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 2/3", "invalid bad-check 2/3 pieces=3 after 9200 us", "request 2/3"}));
    EXPECT_EQ(station(2).timeouts, 0);
}

TEST_F(WatchTest, ARequestWithNoAnswerTimesOut) {
    rx(0, read17, 0);
    watch.expire(1000 * ms);  // 999.2 ms after the request's end: not yet
    EXPECT_EQ(entries(), (Entries{"request 17/3"}));
    watch.expire(1001 * ms);
    EXPECT_EQ(entries(), (Entries{"timeout 17/3"}));
    EXPECT_EQ(station(17).timeouts, 1);
    // An answer after the time-out belongs to no request.
    rx(0, answer17, 1100);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"orphan 17/3"}));
    EXPECT_EQ(station(17).orphans, 1);
    EXPECT_EQ(station(17).answers, 0);
}

TEST_F(WatchTest, TheNextRequestEndsTheWaitOfTheOneBefore) {
    rx(0, read17, 0);
    rx(0, rtu("12 03 00 00 00 01"), 200);
    rx(0, rtu("12 03 02 00 07"), 210);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3", "timeout 17/3", "request 18/3", "answer 18/3 after 9200 us"}));
    EXPECT_EQ(station(17).timeouts, 1);
    EXPECT_EQ(station(18).answers, 1);
}

TEST_F(WatchTest, AnAnswerWithAWrongCheckIsACheckErrorNotATimeOut) {
    std::string bad = answer17;
    bad.back() = static_cast<char>(bad.back() ^ 0xFF);
    rx(0, read17, 0);
    rx(0, bad, 10);
    watch.expire(5000 * ms);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3", "invalid bad-check 17/3 after 9200 us"}));
    EXPECT_EQ(station(17).checkErrors, 1);
    EXPECT_EQ(station(17).timeouts, 0);
    EXPECT_EQ(station(17).answers, 0);
}

TEST_F(WatchTest, AnAnswerFromAnotherStationIsAnAnswerToNobody) {
    rx(0, read17, 0);
    rx(0, rtu("12 03 02 00 07"), 10);
    rx(0, answer17, 20);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3", "orphan 18/3", "answer 17/3 after 19200 us"}));
}

TEST_F(WatchTest, TwoLinesAreTheTwoDirectionsOfATappedLine) {
    rx(0, read17, 0);
    rx(1, answer17, 12);
    rx(0, rtu("11 06 00 01 00 03"), 100);
    rx(1, rtu("11 06 00 01 00 03"), 110);  // a copy, but on the other line: the answer
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3", "answer 17/3 after 11200 us", "request 17/6", "answer 17/6 after 9200 us"}));
}

TEST_F(WatchTest, ExceptionsArePairedAndCountedByCode) {
    rx(0, read17, 0);
    rx(0, rtu("11 83 02"), 5);
    rx(0, read17, 100);
    rx(0, rtu("11 83 02"), 105);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3", "exception 17/3 after 4200 us", "request 17/3", "exception 17/3 after 4200 us"}));
    EXPECT_EQ(station(17).exceptions.at(2), 2);
    EXPECT_EQ(station(17).answers, 2);
}

// Functions 5, 6, 8 and 22 answer with a copy of the request: whether a copy is
// the echo or the answer depends on what the line is known to do.
TEST_F(WatchTest, ACopyOfAWriteIsTheAnswerOnALineKnownToGiveNoEcho) {
    rx(0, read17, 0);
    rx(0, answer17, 10);  // the read was not echoed: this line gives no echo
    const std::string write = rtu("11 06 00 01 00 03");
    rx(0, write, 100);
    rx(0, write, 101);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3", "answer 17/3 after 9200 us", "request 17/6", "answer 17/6 after 200 us"}));
}

TEST_F(WatchTest, OnAnEchoingLineTheFirstCopyOfAWriteIsTheEchoAndTheSecondTheAnswer) {
    rx(0, read17, 0);
    rx(0, read17, 1);  // this line echoes
    rx(0, answer17, 10);
    const std::string write = rtu("11 06 00 01 00 03");
    rx(0, write, 100);
    rx(0, write + write, 101, 1600);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3 echoed", "answer 17/3 after 9200 us", "request 17/6 echoed",
                                  "answer 17/6 back-to-back after 1000 us"}));
}

TEST_F(WatchTest, OnANewLineACopyOfAWriteIsItsEchoOnlyWithinTheEchoWindow) {
    const std::string write = rtu("11 06 00 01 00 03");
    rx(0, write, 0);
    rx(0, write, 80);  // 79.2 ms later: past the 50 ms window, so the answer
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/6", "answer 17/6 after 79200 us"}));
}

TEST_F(WatchTest, AFrameThatFitsBothWaysIsTheAnswerWhenItsRequestWaits) {
    rx(0, rtu("11 02 00 C4 00 16"), 0);
    rx(0, rtu("11 02 03 AC DB 35"), 10);  // also a request of 0xDB35 inputs from 0x03AC
    rx(0, rtu("11 02 03 AC DB 35"), 100);  // with nothing waiting: a request
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/2", "answer 17/2 after 9200 us", "request 17/2"}));
}

TEST_F(WatchTest, SentRequestsAreShownAsSentAndTheirEchoRemoved) {
    tx(0, read17, 0);
    rx(0, read17, 1);
    rx(0, answer17, 10);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3 sent echoed", "answer 17/3 after 9200 us"}));
}

TEST_F(WatchTest, ABroadcastWaitsForNoAnswer) {
    rx(0, rtu("00 06 00 01 00 03"), 0);
    watch.expire(5000 * ms);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 0/6 broadcast"}));
    EXPECT_EQ(station(0).timeouts, 0);
}

TEST_F(WatchTest, AnAnswerThatDoesNotFitItsRequestSaysSo) {
    rx(0, read17, 0);
    rx(0, rtu("11 03 02 00 07"), 10);
    watch.finish();
    EXPECT_EQ(entries(), (Entries{"request 17/3", "answer 17/3 after 9200 us (carries 1 registers, the request asked for 3)"}));
}

TEST_F(WatchTest, InterleavedBytesOfTwoFramesAreACollision) {
    // The request and an answer of station 18, byte by byte in turn.
    const std::string a = read17;
    const std::string b = rtu("12 03 02 00 07");
    std::string mixed;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (i < a.size()) mixed += a[i];
        if (i < b.size()) mixed += b[i];
    }
    rx(0, mixed, 0, 1500);
    watch.finish();
    const std::vector<WatchEntry> taken = watch.take();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].frame.problem, FrameProblem::Collision);
    EXPECT_EQ(taken[0].frame.detail,
              "two frames interleaved: 11 03 00 6B 00 03 76 87 and 12 03 02 00 07 " + testing::hex(b.substr(5)));
    EXPECT_EQ(watch.statistics().collisions, 1);
}

TEST_F(WatchTest, APieceThatNothingCompletesIsShownAsItIsAfterTheWait) {
    rx(0, read17, 0);
    rx(0, answer17.substr(0, 4), 10);
    watch.expire(900 * ms);
    EXPECT_EQ(entries(), (Entries{"request 17/3"}));
    watch.expire(1100 * ms);  // the piece and the request's wait end together
    EXPECT_EQ(entries(), (Entries{"invalid too-short 17/3", "timeout 17/3"}));
}

TEST_F(WatchTest, AsciiFramesAreCutAtCrLfAndJoinedUpToIt) {
    ModbusWatch ascii(WatchOptions{TelegramFraming::Ascii});
    ascii.receive(0, {":1103006B00037E\r\n:1103", 0, 2000});
    ascii.receive(0, {"06022B0000006455\r\n", 20000, 22000});
    ascii.receive(0, {":1103006B00037E\r\n", 100000, 102000});
    ascii.receive(0, {":1103006B", 200000, 202000});  // cut short by the next frame's ':'
    ascii.receive(0, {":1183026A\r\n", 210000, 212000});
    ascii.finish();
    std::vector<std::string> kinds;
    for (const WatchEntry& e : ascii.take()) {
        kinds.push_back(std::string(EntryKindName(e.kind)) +
                        (e.kind == EntryKind::Invalid ? std::string(" ") + ProblemKey(e.frame.problem) : ""));
    }
    EXPECT_EQ(kinds, (Entries{"request", "answer", "request", "invalid no-cr-lf", "exception"}));
    // The exception answers the second request, cut short: the master's wait ended there.
    EXPECT_EQ(ascii.statistics().stations().at(17).timeouts, 0);
    EXPECT_EQ(ascii.statistics().stations().at(17).answers, 2);
}

TEST_F(WatchTest, EntriesComeOutInOrderOnceDecided) {
    rx(0, read17, 0);
    rx(1, answer17, 12);  // decided at once, but after a request whose echo may still come
    EXPECT_TRUE(entries().empty());
    watch.expire(60 * ms);
    EXPECT_EQ(entries(), (Entries{"request 17/3", "answer 17/3 after 11200 us"}));
    ASSERT_TRUE(watch.deadline() == std::nullopt);
}

}  // namespace
}  // namespace varelo
