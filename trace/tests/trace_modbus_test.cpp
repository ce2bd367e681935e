// varelo-trace --modbus on a live line: it polls the simulated bus itself
// (--send), the simulator misbehaves as told, and the statistics at the end
// must count exactly the answers, time-outs and check errors it was told to give.
#include "trace/tests/trace_test_support.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

namespace varelo::test {
namespace {

constexpr auto kPatience = std::chrono::seconds(10);

struct BusFault {
    const char* what;
    std::vector<std::string> simOptions;
    std::vector<std::string> traceOptions;
    // Of the first six transactions: answers, check errors, time-outs.
    int answers, checkErrors, timeouts;
    bool echoed = false;
    bool inPieces = false;
    std::int64_t leastResponseUs = 0;
};

const BusFault kFaults[] = {
    {"every third answer with a wrong CRC", {"--bad-crc", "3"}, {}, 4, 2, 0},
    {"the adapter's echo", {"--echo"}, {}, 6, 0, 0, true},
    {"answers in pieces of 3 bytes, 20 ms apart", {"--split", "3:20"}, {}, 6, 0, 0, false, true},
    {"answers 150 ms late", {"--delay", "150"}, {}, 6, 0, 0, false, false, 140'000},
    {"a silent station", {"--silent"}, {"--timeout", "100"}, 0, 0, 6},
    {"echo, pieces and wrong CRCs at once", {"--echo", "--split", "4:15", "--bad-crc", "2"}, {}, 3, 3, 0, true, true},
};

struct Counted {
    int requests = 0, answers = 0, checkErrors = 0, timeouts = 0, echoed = 0, inPieces = 0;
    std::int64_t leastResponseUs = -1;
    int decided() const { return answers + checkErrors + timeouts; }
};

class TraceModbus : public ::testing::TestWithParam<BusFault> {};

TEST_P(TraceModbus, StatisticsCountWhatTheSimulatorWasToldToDo) {
    if (!onPath("socat")) GTEST_SKIP() << "socat is not installed";
    const BusFault& fault = GetParam();
    TempDir dir;
    SocatLine line(dir.file("master"), dir.file("bus"));
    ASSERT_TRUE(line.start());
    std::vector<std::string> simArgs = {"--stations", "1-3"};
    simArgs.insert(simArgs.end(), fault.simOptions.begin(), fault.simOptions.end());
    simArgs.push_back(dir.file("bus"));
    ChildProcess sim(kSim, simArgs);
    ASSERT_TRUE(sim.readLine(kPatience)) << sim.errorOutput();

    std::vector<std::string> traceArgs = {"--modbus", "rtu", "--json", "--send", "02 03 00 10 00 02",
                                          "--append", "crc16", "--every", "300"};
    traceArgs.insert(traceArgs.end(), fault.traceOptions.begin(), fault.traceOptions.end());
    traceArgs.push_back(dir.file("master"));
    ChildProcess trace(kTrace, traceArgs);

    // The first six transactions as the trace shows them, one JSON object each.
    Counted seen;
    std::vector<std::string> lines;
    while (seen.decided() < 6) {
        const std::optional<std::string> text = trace.readLine(kPatience);
        ASSERT_TRUE(text) << "after " << lines.size() << " lines; " << trace.errorOutput();
        lines.push_back(*text);
        const std::string kind = JsonMember(*text, "kind").value_or("");
        if (kind == "request") {
            ++seen.requests;
            if (text->find("\"echoed\":true") != std::string::npos) ++seen.echoed;
            EXPECT_NE(text->find("\"flags\":[\"sent\"]"), std::string::npos) << *text;
        } else if (kind == "answer") {
            ++seen.answers;
            if (JsonMember(*text, "pieces")) ++seen.inPieces;
            const std::int64_t response = std::stoll(JsonMember(*text, "response_us").value_or("0"));
            if (seen.leastResponseUs < 0 || response < seen.leastResponseUs) seen.leastResponseUs = response;
        } else if (kind == "invalid") {
            EXPECT_EQ(JsonMember(*text, "problem").value_or(""), "bad-check") << *text;
            ++seen.checkErrors;
        } else if (kind == "timeout") {
            ++seen.timeouts;
        } else {
            ADD_FAILURE() << "unexpected: " << *text;
        }
    }
    EXPECT_EQ(seen.answers, fault.answers) << fault.what;
    EXPECT_EQ(seen.checkErrors, fault.checkErrors) << fault.what;
    EXPECT_EQ(seen.timeouts, fault.timeouts) << fault.what;
    if (fault.echoed) {
        EXPECT_EQ(seen.echoed, seen.requests) << "every request comes back once";
    }
    if (fault.inPieces) {
        EXPECT_EQ(seen.inPieces, seen.answers) << "every answer joined from its pieces";
    }
    if (fault.leastResponseUs) {
        EXPECT_GE(seen.leastResponseUs, fault.leastResponseUs);
    }

    // What came after, up to the statistics the run ends with, counted the same way.
    trace.signal(SIGTERM);
    std::optional<std::string> statistics;
    while (const std::optional<std::string> text = trace.readLine(kPatience)) {
        if (text->rfind("{\"modbus_statistics\":", 0) == 0) {
            statistics = *text;
            break;
        }
        const std::string kind = JsonMember(*text, "kind").value_or("");
        if (kind == "request") ++seen.requests;
        if (kind == "answer") ++seen.answers;
        if (kind == "invalid") ++seen.checkErrors;
        if (kind == "timeout") ++seen.timeouts;
    }
    ASSERT_TRUE(statistics) << trace.errorOutput();
    const std::size_t station = statistics->find("\"2\":{");
    ASSERT_NE(station, std::string::npos) << *statistics;
    const std::string counts = statistics->substr(station);
    EXPECT_EQ(JsonMember(counts, "requests"), std::to_string(seen.requests)) << *statistics;
    EXPECT_EQ(JsonMember(counts, "answers"), std::to_string(seen.answers)) << *statistics;
    EXPECT_EQ(JsonMember(counts, "check_errors"), std::to_string(seen.checkErrors)) << *statistics;
    EXPECT_EQ(JsonMember(counts, "timeouts"), std::to_string(seen.timeouts)) << *statistics;
    EXPECT_EQ(JsonMember(counts, "orphans"), "0") << *statistics;
    const std::optional<int> status = trace.waitForExit(kPatience);
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

INSTANTIATE_TEST_SUITE_P(SimulatorFaults, TraceModbus, ::testing::ValuesIn(kFaults));

// SIGUSR1 asks a running trace for its statistics, which it writes on standard error.
TEST(TraceModbusStatistics, ComeOnSigusr1WhileTheRunGoesOn) {
    if (!onPath("socat")) GTEST_SKIP() << "socat is not installed";
    TempDir dir;
    SocatLine line(dir.file("master"), dir.file("bus"));
    ASSERT_TRUE(line.start());
    ChildProcess sim(kSim, {"--stations", "1-3", dir.file("bus")});
    ASSERT_TRUE(sim.readLine(kPatience)) << sim.errorOutput();
    ChildProcess trace(kTrace, {"--modbus", "rtu", "--send", "01 11", "--append", "crc16", "--every", "100",
                                "--duration", "3", dir.file("master")});
    int answers = 0;
    while (answers < 2) {
        const std::optional<std::string> text = trace.readLine(kPatience);
        ASSERT_TRUE(text) << trace.errorOutput();
        if (text->find("answer st 1 report slave id (17)") != std::string::npos) ++answers;
    }
    trace.signal(SIGUSR1);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::optional<int> status = trace.waitForExit(kPatience);
    ASSERT_TRUE(status && WIFEXITED(*status)) << "SIGUSR1 ended the run";
    const std::string errors = trace.errorOutput();
    // Once on the signal, once at the end.
    const std::size_t first = errors.find("MODBUS statistics:");
    ASSERT_NE(first, std::string::npos) << errors;
    EXPECT_NE(errors.find("MODBUS statistics:", first + 1), std::string::npos) << errors;
    EXPECT_NE(errors.find("busiest: report slave id (17)"), std::string::npos) << errors;
}

}  // namespace
}  // namespace varelo::test
