#include "modbus/tag_reader.h"

#include "modbus/modbus_frame.h"
#include "modbus/tests/hex_bytes.h"
#include "util/run_time_errors.h"

#include <gtest/gtest.h>

namespace varelo {
namespace {

using testing::bytes;
using testing::hex;

// A read-holding-registers answer of `station` carrying `data`, with a good CRC.
std::string response(int station, const std::string& data) {
    std::string frame{static_cast<char>(station), 0x03, static_cast<char>(data.size())};
    frame += data;
    return frame + ModbusCrc16(frame);
}

std::string exceptionResponse(int station) {
    const std::string frame{static_cast<char>(station), static_cast<char>(0x83), 0x02};
    return frame + ModbusCrc16(frame);
}

// 64 data bytes that tell blocks and positions apart.
std::string blockData(int block) {
    std::string data;
    for (int i = 0; i < 64; ++i) data += static_cast<char>(block * 64 + i);
    return data;
}

// The image the reader should build from `data`: each pair swapped.
std::string swappedPairs(const std::string& data) {
    std::string image;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) image += {data[i + 1], data[i]};
    return image;
}

class TagSessionTest : public ::testing::Test {
  protected:
    void startSession(std::int32_t station) {
        reader.prepareSession(station);
        reader.initialize();
        reader.beginSession();
    }

    std::string request(std::int32_t address) const {
        return BuildModbusFrame(state.TagStation, 3, address, 32, "RTU");
    }

    SharedState state;
    TagReader reader{state};
};

TEST_F(TagSessionTest, StartingAsksForTheFirstBlock) {
    state.TagMap = "old";
    state.TagRxBuffer = "old";
    state.TagAddress = 64;
    state.TagCrcErrors = 2;
    startSession(1);
    EXPECT_TRUE(state.TagSession);
    EXPECT_EQ(state.TagStation, 1);
    EXPECT_EQ(state.TagAddress, 0);
    EXPECT_EQ(state.TagQuantity, 32);
    EXPECT_EQ(state.TagMap, "");
    EXPECT_EQ(state.TagRxBuffer, "");
    EXPECT_EQ(state.TagCrcErrors, 2) << "only a good or a refused response resets the count";
    EXPECT_EQ(hex(state.TlgToSend), "01 03 00 00 00 20 44 12");
}

TEST_F(TagSessionTest, AFullPassReadsFourBlocksThenShowsTheMapAndStartsAgain) {
    startSession(1);
    const std::string nextRequest[] = {"01 03 00 20 00 20 45 D8", "01 03 00 40 00 20 45 C6",
                                       "01 03 00 60 00 20 44 0C", "01 03 00 00 00 20 44 12"};
    std::string image;
    for (int block = 0; block < 4; ++block) {
        SCOPED_TRACE(block);
        const TagOutcome outcome = reader.ProcessTagResponse(response(1, blockData(block)));
        image += swappedPairs(blockData(block));

        EXPECT_EQ(hex(state.TlgToSend), nextRequest[block]);
        EXPECT_EQ(outcome.labelPaso, std::to_string(block + 1));
        EXPECT_EQ(outcome.ledAmarillo, colours::Yellow);
        EXPECT_EQ(outcome.ledVerde, colours::Lime);
        EXPECT_FALSE(outcome.ledRojo);
        EXPECT_FALSE(outcome.enableRetryTimer);
        EXPECT_FALSE(outcome.initialize);
        EXPECT_EQ(outcome.mapToShow.has_value(), block == 3);
    }
    EXPECT_EQ(state.TagAddress, 0);
    ASSERT_EQ(state.TagMap.size(), 256u);
    EXPECT_EQ(state.TagMap, image);

    // The next pass starts with a fresh map; the last full one was handed out whole.
    reader.ProcessTagResponse(response(1, blockData(2)));
    EXPECT_EQ(state.TagMap, swappedPairs(blockData(2)));
    EXPECT_EQ(state.TagAddress, 32);
}

TEST_F(TagSessionTest, RequestsAndAnswersUseTheChosenStation) {
    startSession(17);
    EXPECT_EQ(hex(state.TlgToSend), "11 03 00 00 00 20 46 82");
    EXPECT_TRUE(reader.ProcessTagResponse(response(17, "AB")).labelPaso);
    EXPECT_EQ(hex(state.TlgToSend), hex(request(32)));
}

TEST_F(TagSessionTest, EachRegisterIsStoredLowByteFirst) {
    const std::pair<std::string, std::string> cases[] = {
        {"AB", "BA"},
        {"ABC", "BA"},  // an odd last byte is dropped
        {std::string("\0\x01", 2), std::string("\x01\0", 2)},
        {"", ""},
    };
    for (const auto& [data, stored] : cases) {
        startSession(1);
        reader.ProcessTagResponse(response(1, data));
        EXPECT_EQ(state.TagMap, stored) << hex(data);
        EXPECT_EQ(state.TagAddress, 32) << "the byte count is not compared with the request";
    }
}

TEST_F(TagSessionTest, AResponseInPiecesIsGatheredAndTakenOnce) {
    startSession(1);
    const std::string whole = response(1, blockData(0));
    ASSERT_EQ(whole.size(), 69u);

    const TagOutcome first = reader.ProcessTagResponse(whole.substr(0, 1));
    EXPECT_TRUE(first.enableRetryTimer);
    const TagOutcome second = reader.ProcessTagResponse(whole.substr(1, 2));
    EXPECT_TRUE(second.enableRetryTimer) << "header complete, data still missing";
    EXPECT_FALSE(second.labelPaso);
    EXPECT_EQ(hex(state.TlgToSend), hex(request(0)));

    const TagOutcome last = reader.ProcessTagResponse(whole.substr(3));
    EXPECT_FALSE(last.enableRetryTimer);
    EXPECT_EQ(last.labelPaso, "1");
    EXPECT_EQ(state.TagMap, swappedPairs(blockData(0)));
    EXPECT_EQ(state.TagRxBuffer, "");
}

TEST_F(TagSessionTest, AnEmptyBlockWaitsForTheRealResponse) {
    // Port 1's echo removal may leave nothing of a block; it still comes here.
    startSession(1);
    EXPECT_TRUE(reader.ProcessTagResponse("").enableRetryTimer);
    EXPECT_EQ(reader.ProcessTagResponse(response(1, "AB")).labelPaso, "1");
}

TEST_F(TagSessionTest, OnlyTheFirstOfTwoResponsesInOneBlockIsUsed) {
    startSession(1);
    reader.ProcessTagResponse(response(1, "AB") + response(1, "CD"));
    EXPECT_EQ(state.TagMap, "BA");
    EXPECT_EQ(state.TagAddress, 32);
    EXPECT_EQ(state.TagRxBuffer, "");
}

TEST_F(TagSessionTest, OtherStationsAndFunctionsAreDropped) {
    const std::string foreign[] = {
        response(2, "AB"),
        bytes("01 04 02 41 42") + ModbusCrc16(bytes("01 04 02 41 42")),
        exceptionResponse(2),
        bytes("FF 01 03"),
    };
    for (const auto& block : foreign) {
        startSession(1);
        const TagOutcome outcome = reader.ProcessTagResponse(block);
        EXPECT_EQ(state.TagRxBuffer, "") << hex(block);
        EXPECT_EQ(state.TagMap, "") << hex(block);
        EXPECT_EQ(state.TagAddress, 0) << hex(block);
        EXPECT_EQ(hex(state.TlgToSend), hex(request(0))) << hex(block);
        EXPECT_FALSE(outcome.enableRetryTimer || outcome.labelPaso || outcome.initialize || outcome.ledRojo)
            << hex(block);
    }
}

TEST_F(TagSessionTest, AnExceptionResponseRestartsThePass) {
    startSession(1);
    reader.ProcessTagResponse(response(1, blockData(0)));
    reader.ProcessTagResponse(response(1, blockData(1)));
    state.TagCrcErrors = 2;

    const TagOutcome outcome = reader.ProcessTagResponse(exceptionResponse(1));
    EXPECT_TRUE(outcome.initialize);
    EXPECT_EQ(outcome.labelPaso, "0");
    EXPECT_FALSE(outcome.mapToShow);
    EXPECT_EQ(state.TagAddress, 0);
    EXPECT_EQ(state.TagMap, "");
    EXPECT_EQ(state.TagRxBuffer, "");
    EXPECT_EQ(state.TagCrcErrors, 0);
    EXPECT_EQ(hex(state.TlgToSend), hex(request(0)));
}

TEST_F(TagSessionTest, ABadCrcAsksForTheSameBlockAndTheFourthInARowRestartsThePass) {
    startSession(1);
    reader.ProcessTagResponse(response(1, blockData(0)));
    std::string corrupted = response(1, blockData(1));
    corrupted[10] ^= 0x01;

    for (int error = 1; error <= 3; ++error) {
        const TagOutcome outcome = reader.ProcessTagResponse(corrupted);
        EXPECT_EQ(outcome.ledRojo, colours::Red);
        EXPECT_FALSE(outcome.initialize);
        EXPECT_FALSE(outcome.labelPaso);
        EXPECT_EQ(state.TagCrcErrors, error);
        EXPECT_EQ(state.TagRxBuffer, "");
        EXPECT_EQ(state.TagAddress, 32);
        EXPECT_EQ(hex(state.TlgToSend), hex(request(32)));
    }

    TagOutcome outcome = reader.ProcessTagResponse(corrupted);
    EXPECT_TRUE(outcome.initialize);
    EXPECT_EQ(state.TagCrcErrors, 4);
    EXPECT_EQ(state.TagAddress, 0);
    EXPECT_EQ(state.TagMap, "");
    EXPECT_EQ(hex(state.TlgToSend), hex(request(0)));

    // The count goes on, so every further bad response restarts again...
    EXPECT_TRUE(reader.ProcessTagResponse(corrupted).initialize);
    // ...until a good one clears it.
    reader.ProcessTagResponse(response(1, "AB"));
    EXPECT_EQ(state.TagCrcErrors, 0);
    EXPECT_EQ(reader.ProcessTagResponse(corrupted).ledRojo, colours::Red);
}

TEST_F(TagSessionTest, TheEchoOfTheRequestFailsAsAnEmptyResponse) {
    startSession(1);
    reader.ProcessTagResponse(response(1, blockData(0)));
    const TagOutcome outcome = reader.ProcessTagResponse(state.TlgToSend);
    EXPECT_EQ(outcome.ledRojo, colours::Red);
    EXPECT_EQ(state.TagCrcErrors, 1);
    EXPECT_EQ(state.TagRxBuffer, "") << "the rest of the echo goes with it";
    EXPECT_EQ(state.TagAddress, 32);
}

TEST(TagSessionEcho, NoBlockRequestEverPassesTheCheckAsAResponse) {
    for (std::int32_t station = 1; station <= 247; ++station) {
        for (std::int32_t address = 0; address <= 96; address += 32) {
            SharedState fresh;
            fresh.TagStation = station;
            fresh.TagAddress = address;
            fresh.TagQuantity = 32;
            TagReader echoed(fresh);
            echoed.ProcessTagResponse(BuildModbusFrame(station, 3, address, 32, "RTU"));
            ASSERT_EQ(fresh.TagCrcErrors, 1) << "station " << station << ", address " << address;
        }
    }
}

TEST_F(TagSessionTest, ALateResponseIsTakenAsTheNextBlock) {
    // Nothing in a response names its registers: a second answer to a repeated
    // request for block 0 fills block 1.
    startSession(1);
    reader.ProcessTagResponse(response(1, "AB"));
    const TagOutcome late = reader.ProcessTagResponse(response(1, "AB"));
    EXPECT_EQ(late.labelPaso, "2");
    EXPECT_EQ(state.TagMap, "BABA");
    EXPECT_EQ(hex(state.TlgToSend), hex(request(64)));
}

TEST_F(TagSessionTest, TheRetryTickAsksAgainAndKeepsWhatArrived) {
    startSession(1);
    reader.ProcessTagResponse(response(1, "AB"));
    const std::string whole = response(1, "CD");
    EXPECT_TRUE(reader.ProcessTagResponse(whole.substr(0, 4)).enableRetryTimer);

    state.TlgToSend.clear();
    reader.retryTick();
    EXPECT_EQ(hex(state.TlgToSend), hex(request(32)));
    EXPECT_EQ(hex(state.TagRxBuffer), hex(whole.substr(0, 4)));

    EXPECT_EQ(reader.ProcessTagResponse(whole.substr(4)).labelPaso, "2");
    EXPECT_EQ(state.TagMap, "BADC");
}

TEST_F(TagSessionTest, InitializeRestartsThePassButKeepsTheSessionAndErrorCount) {
    startSession(5);
    reader.ProcessTagResponse(response(5, blockData(0)));
    reader.ProcessTagResponse(bytes("05 03 40 00"));  // a response begun
    state.TagCrcErrors = 3;

    const TagOutcome outcome = reader.initialize();
    EXPECT_TRUE(outcome.initialize);
    EXPECT_FALSE(outcome.ledRojo || outcome.ledAmarillo || outcome.ledVerde || outcome.labelPaso);
    EXPECT_EQ(state.TagAddress, 0);
    EXPECT_EQ(state.TagQuantity, 32);
    EXPECT_EQ(state.TagMap, "");
    EXPECT_EQ(state.TagRxBuffer, "");
    EXPECT_EQ(hex(state.TlgToSend), "05 03 00 00 00 20 45 96");
    EXPECT_EQ(state.TagCrcErrors, 3);
    EXPECT_TRUE(state.TagSession);
}

TEST(TagStationFromAnswer, ReadsTheStationWithinTheSlaveRange) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"1", 1},    {"", 1},      {"0", 1},     {"00", 1},    {"-3", 1},         {"-05", 1},
        {"+12", 12}, {"247", 247}, {"248", 247}, {"300", 247}, {"99999999", 247}, {"1x", 10},
    };
    for (const auto& [answer, station] : cases) {
        EXPECT_EQ(TagStationFromAnswer(answer), station) << '"' << answer << '"';
    }
}

TEST(TagStationFromAnswer, RefusesWhatTheIntegerConversionRefuses) {
    for (const std::string answer : {"+", "-", " 7", "x9", "12.5", "99999999999"}) {
        EXPECT_THROW(TagStationFromAnswer(answer), ConversionError) << '"' << answer << '"';
    }
}

TEST(TagMapLines, ShowsSixteenRowsOfSixteenBytesUnderTheHeader) {
    std::string image;
    for (int i = 0; i < 256; ++i) image += static_cast<char>(i);
    const auto lines = TagMapLines(image);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[0], "-W-|H|0123456789ABCDEF");
    const char* prefixes[] = {"000|0|", "008|1|", "016|2|", "024|3|", "032|4|", "040|5|", "048|6|", "056|7|",
                              "064|8|", "072|9|", "080|A|", "088|B|", "096|C|", "104|D|", "112|E|", "120|F|"};
    for (int row = 0; row < 16; ++row) {
        EXPECT_EQ(lines[row + 1], prefixes[row] + image.substr(row * 16, 16)) << row;
    }
}

TEST(TagMapLines, AShortImageGivesShortAndEmptyRows) {
    const auto lines = TagMapLines(std::string(20, '\0'));
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[1], "000|0|" + std::string(16, '\0'));
    EXPECT_EQ(lines[2], "008|1|" + std::string(4, '\0'));
    EXPECT_EQ(lines[3], "016|2|");
    EXPECT_EQ(lines[16], "120|F|");
    EXPECT_EQ(TagMapLines("")[1], "000|0|");
}

}  // namespace
}  // namespace varelo
