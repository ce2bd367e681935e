#include "app/monitor/telegram_builders.h"

#include "app/monitor/monitor_state.h"
#include "app/monitor/station_count.h"
#include "app/monitor/tests/monitor_fakes.h"
#include "app/monitor/weight_text.h"
#include "util/run_time_errors.h"
#include "util/shared_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

namespace varelo {
namespace {

using testing::FixedRegional;
class BuildersTest : public ::testing::Test {
  protected:
    MonitorState state;
    SharedState shared;
    FixedRegional regional;
    TelegramBuilders builders{state, shared, regional};

    std::vector<std::string> build(void (TelegramBuilders::*builder)(), int times) {
        std::vector<std::string> telegrams;
        for (int i = 0; i < times; ++i) {
            (builders.*builder)();
            telegrams.push_back(shared.TlgToSend);
        }
        return telegrams;
    }
};

TEST_F(BuildersTest, DateAndTimeEndTheLineOnlyWhileOneTelegramPerLineIsOn) {
    builders.BuildDateHour();
    EXPECT_EQ(shared.TlgToSend, "09/12/2026 14:30:05");
    state.SkipLine = true;
    builders.BuildDateHour();
    EXPECT_EQ(shared.TlgToSend, "09/12/2026 14:30:05\r\n");
}

TEST_F(BuildersTest, CodesCycleThroughTheSixPrefixesWhileTheCounterCountsDown) {
    state.SkipLine = true;
    EXPECT_EQ(build(&TelegramBuilders::BuildCode11, 7),
              (std::vector<std::string>{"XL123456789", "YL123456788", "SS123456787", "TS123456786",
                                        "L0123456785", "R0123456784", "XL123456783"}));
    EXPECT_EQ(state.CodeCounter, 123456782);
    EXPECT_EQ(state.PrefixIndex, 2);
}

TEST_F(BuildersTest, CodesBelowZeroCarryASign) {
    state.CodeCounter = 0;
    EXPECT_EQ(build(&TelegramBuilders::BuildCode11, 2), (std::vector<std::string>{"XL0", "YL-1"}));
}

TEST_F(BuildersTest, AsciiCharsRunFromZeroTo0xFE) {
    builders.BuildAsciiChars();
    ASSERT_EQ(shared.TlgToSend.size(), 255u);
    EXPECT_EQ(shared.TlgToSend.front(), '\0');
    EXPECT_EQ(static_cast<unsigned char>(shared.TlgToSend.back()), 0xFE);
    state.SkipLine = true;
    builders.BuildAsciiChars();
    ASSERT_EQ(shared.TlgToSend.size(), 257u);
    EXPECT_EQ(static_cast<unsigned char>(shared.TlgToSend[254]), 0xFE);
    EXPECT_EQ(shared.TlgToSend.substr(255), "\r\n");
}

TEST_F(BuildersTest, WeightLineHasDateHoursAndMinutesAndAWeightWithAFullStop) {
    state.SkipLine = true;
    for (int i = 0; i < 50; ++i) {
        builders.BuildWeight();
        std::smatch m;
        ASSERT_TRUE(
            std::regex_match(shared.TlgToSend, m, std::regex(R"(09/12/2026 14:30 ( \d\d\.\d) Kg\r\n)")))
            << shared.TlgToSend;
        EXPECT_EQ(state.WeightText, m[1].str());
        const double weight = std::atof(state.WeightText.c_str());
        EXPECT_GT(weight, 19.0);
        EXPECT_LT(weight, 27.0);
    }
}

TEST_F(BuildersTest, EveryRunDrawsTheSameWeights) {
    MonitorState otherState;
    SharedState otherShared;
    TelegramBuilders other{otherState, otherShared, regional};
    for (int i = 0; i < 5; ++i) {
        builders.BuildWeight();
        other.BuildWeight();
        EXPECT_EQ(state.WeightText, otherState.WeightText);
    }
}

TEST(WeightText, CutToOneDecimalWithAFullStopWhateverTheSeparator) {
    const struct {
        long double weight;
        const char* separator;
        const char* text;
    } cases[] = {
        {23.4789L, ",", " 23.4"}, {23.4789L, ".", " 23.4"}, {22.96L, ",", " 22.9"},
        {9.87L, ",", "  9.8"},    {123.45L, ",", " 123."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WeightTextFor(c.weight, c.separator), c.text);
    }
}

TEST_F(BuildersTest, StationPollsCycleFromOneToTheStationCount) {
    const struct {
        std::int32_t stationCount;
        std::int32_t startStation;
        std::vector<int> stationBytes;
    } cases[] = {
        {6, 0, {1, 2, 3, 4, 5, 6, 1}},
        {0, 0, {1, 1, 1}},
        {-3, 0, {1, 1}},
        {300, 254, {255, 0, 1}},  // station 256 goes out as 0x00
        {3, 2, {3, 1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stationCount);
        state.StationCount = c.stationCount;
        state.Station = c.startStation;
        std::vector<int> bytes;
        for (const auto& telegram :
             build(&TelegramBuilders::BuildRQZPoll, static_cast<int>(c.stationBytes.size()))) {
            ASSERT_EQ(telegram.size(), 3u);
            EXPECT_EQ(telegram.substr(0, 2), "\x10\x05");
            bytes.push_back(static_cast<unsigned char>(telegram[2]));
        }
        EXPECT_EQ(bytes, c.stationBytes);
    }
}

TEST_F(BuildersTest, ModbusPollsAskEachStationForItsIdentification) {
    state.StationCount = 2;
    EXPECT_EQ(build(&TelegramBuilders::PollNextStationAscii, 3),
              (std::vector<std::string>{":0111EE\r\n", ":0211ED\r\n", ":0111EE\r\n"}));
    state.Station = 0;
    EXPECT_EQ(build(&TelegramBuilders::PollNextStationRtu, 1),
              (std::vector<std::string>{"\x01\x11\xC0\x2C"}));
}

TEST(StationCount, ZeroStandsForSixAndModbusStopsAt247) {
    const struct {
        const char* answer;
        std::int32_t stations;
        std::int32_t modbusStations;
    } cases[] = {
        {"0", 6, 6}, {"", 6, 6}, {"x", 6, 6}, {"00", 0, 0}, {"12", 12, 12}, {"300", 300, 247}, {"-5", -5, -5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        EXPECT_EQ(StationCountFromAnswer(c.answer), c.stations);
        EXPECT_EQ(ModbusStationCountFromAnswer(c.answer), c.modbusStations);
    }
}

TEST(StationCount, AnAnswerThatCleansToNoIntegerIsRefusedWithTheCleanedText) {
    for (const auto& [answer, message] : std::vector<std::pair<std::string, std::string>>{
             {" 12", "'12 ' is not a valid integer value"},
             {"x6", "'6 ' is not a valid integer value"},
             {"-", "'-' is not a valid integer value"},
         }) {
        SCOPED_TRACE(answer);
        try {
            StationCountFromAnswer(answer);
            FAIL() << "accepted";
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.what(), message);
        }
        EXPECT_THROW(ModbusStationCountFromAnswer(answer), ConversionError);
    }
}

}  // namespace
}  // namespace varelo
