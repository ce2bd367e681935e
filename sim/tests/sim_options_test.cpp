// The simulator's command line.

#include <gtest/gtest.h>

#include "sim/sim_options.h"

namespace varelo {
namespace {

using namespace std::chrono_literals;

SimOptions accepted(const std::vector<std::string>& args) {
    auto parsed = ParseSimOptions(args);
    if (auto* refused = std::get_if<std::string>(&parsed)) ADD_FAILURE() << *refused;
    return std::get_if<SimOptions>(&parsed) ? std::get<SimOptions>(parsed) : SimOptions{};
}

TEST(SimOptions, DefaultIsABusOfStationsOneToSix) {
    const SimOptions options = accepted({"/tmp/line"});
    EXPECT_EQ(options.role, SimRoleKind::Bus);
    EXPECT_EQ(options.bus.stations.first, 1);
    EXPECT_EQ(options.bus.stations.last, 6);
    EXPECT_EQ(options.baud, 9600);
    EXPECT_EQ(options.device, "/tmp/line");
}

TEST(SimOptions, EveryOptionIsTaken) {
    const SimOptions bus = accepted({"--stations", "3-9", "--bad-crc=4", "--split", "3:20", "--delay", "150",
                                     "--silent", "--echo", "--baud", "19200", "/dev/pts/7"});
    EXPECT_EQ(bus.bus.stations.first, 3);
    EXPECT_EQ(bus.bus.stations.last, 9);
    EXPECT_EQ(bus.bus.wrongCheckEvery, 4);
    EXPECT_EQ(bus.pacing.pieceSize, 3u);
    EXPECT_EQ(bus.pacing.pieceGap, 20ms);
    EXPECT_EQ(bus.pacing.delay, 150ms);
    EXPECT_TRUE(bus.bus.silent);
    EXPECT_TRUE(bus.bus.echo);
    EXPECT_EQ(bus.baud, 19200);
    EXPECT_EQ(bus.device, "/dev/pts/7");

    const SimOptions scale = accepted({"--role", "scale", "--period=250", "/tmp/s"});
    EXPECT_EQ(scale.role, SimRoleKind::Scale);
    EXPECT_EQ(scale.scalePeriod, 250ms);
    EXPECT_EQ(accepted({"--role=loop", "/tmp/l"}).role, SimRoleKind::Loop);
    EXPECT_EQ(accepted({"--stations", "17", "/tmp/l"}).bus.stations.last, 17);
    EXPECT_TRUE(accepted({"/tmp/l", "--help"}).help);
}

struct Refusal {
    std::vector<std::string> args;
    const char* reason;
};

class RefusedCommandLine : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedCommandLine, SaysWhy) {
    auto parsed = ParseSimOptions(GetParam().args);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed));
    EXPECT_EQ(std::get<std::string>(parsed), GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, RefusedCommandLine,
    ::testing::Values(
        Refusal{{}, "no device given (see --help)"}, Refusal{{"/a", "/b"}, "one device only, got '/b' too"},
        Refusal{{"--role", "printer", "/a"}, "bad value for --role: 'printer' (bus, scale or loop)"},
        Refusal{{"--stations", "0-6", "/a"},
                "bad value for --stations: '0-6' (a station 1 to 247, or a range like 1-6)"},
        Refusal{{"--stations", "6-1", "/a"},
                "bad value for --stations: '6-1' (a station 1 to 247, or a range like 1-6)"},
        Refusal{{"--stations", "1-248", "/a"},
                "bad value for --stations: '1-248' (a station 1 to 247, or a range like 1-6)"},
        Refusal{{"--split", "3", "/a"}, "bad value for --split: '3' (BYTES:MS, e.g. 3:20)"},
        Refusal{{"--split", "0:10", "/a"}, "bad value for --split: '0:10' (BYTES:MS, e.g. 3:20)"},
        Refusal{{"--delay", "-5", "/a"}, "bad value for --delay: '-5' (0 to 60000 ms)"},
        Refusal{{"--bad-crc", "2x", "/a"}, "bad value for --bad-crc: '2x' (1 or more)"},
        Refusal{{"--period", "0", "/a"}, "bad value for --period: '0' (1 to 3600000 ms)"},
        Refusal{{"/a", "--delay"}, "--delay needs a value"},
        Refusal{{"--echo=yes", "/a"}, "--echo takes no value"},
        Refusal{{"--colour", "red", "/a"}, "unknown option --colour (see --help)"},
        Refusal{{"--role", "scale", "--stations", "1-2", "/a"}, "--stations is for --role bus only"}));

}  // namespace
}  // namespace varelo
