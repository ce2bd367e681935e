// varelo-trace on live lines: the simulator's telegrams over socat pty pairs, two
// lines kept in their order, a line that goes and comes back.
#include "modbus/modbus_frame.h"
#include "trace/tests/trace_test_support.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <regex>

namespace varelo::test {
namespace {

using namespace std::chrono_literals;
constexpr auto kPatience = std::chrono::seconds(10);


// The far end of a socat line, opened by its link, for writing telegrams into it.
class FarEnd {
  public:
    explicit FarEnd(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {}
    ~FarEnd() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool write(const std::string& bytes) { return ::write(fd_, bytes.data(), bytes.size()) == ssize_t(bytes.size()); }

  private:
    int fd_;
};

std::vector<JsonLine> ReadJsonLines(ChildProcess& trace, std::size_t count) {
    std::vector<JsonLine> lines;
    while (lines.size() < count) {
        const std::optional<std::string> line = trace.readLine(kPatience);
        if (!line) break;
        if (auto parsed = ParseJsonLine(*line)) lines.push_back(*parsed);
    }
    return lines;
}

std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

bool NeedSocat() { return onPath("socat"); }

// The simulated scale's weight lines, each one telegram, a period apart.
TEST(LiveTrace, FramesTheScalesWeightLinesAsTelegrams) {
    if (!NeedSocat()) GTEST_SKIP() << "socat is not installed";
    TempDir dir;
    SocatLine line(dir.file("trace"), dir.file("scale"));
    ASSERT_TRUE(line.start());
    ChildProcess trace(kTrace, {"--json", "--count", "4", dir.file("trace")});
    ASSERT_TRUE(WaitUntilOpen(dir.file("trace")));
    ChildProcess sim(kSim, {"--role", "scale", "--period", "100", dir.file("scale")});
    ASSERT_TRUE(sim.readLine(kPatience)) << sim.errorOutput();
    const std::vector<JsonLine> telegrams = ReadJsonLines(trace, 4);
    ASSERT_EQ(telegrams.size(), 4u) << trace.errorOutput();
    const std::regex weightLine(R"(\d\d/\d\d/\d{4} \d\d:\d\d +-?[0-9]+\.[0-9] Kg\r\n)");
    for (std::size_t i = 0; i < telegrams.size(); ++i) {
        EXPECT_TRUE(std::regex_match(Unhex(telegrams[i].bytes), weightLine)) << Unhex(telegrams[i].bytes);
        if (i > 0) {
            EXPECT_GT(telegrams[i].timeUs, telegrams[i - 1].timeUs);
            ASSERT_TRUE(telegrams[i].gapUs);
            EXPECT_GT(*telegrams[i].gapUs, 20'000) << "weight lines cut apart or run together";
        }
    }
    const std::optional<int> status = trace.waitForExit(kPatience);
    ASSERT_TRUE(status && WIFEXITED(*status)) << "--count did not end the run";
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

// A tapped MODBUS line: the requests on one line, the simulated bus's answers on
// the other, each a telegram, in the order in which they were sent.
TEST(LiveTrace, RequestsAndTheBusAnswersOnTwoLinesInTheirOrder) {
    Pty bus, requests, answers;
    ChildProcess sim(kSim, {"--stations", "1-3", bus.path()});
    ASSERT_TRUE(sim.readLine(kPatience)) << sim.errorOutput();
    ChildProcess trace(kTrace, {"--json", "--alias1", "MASTER", "--alias2", "SLAVES", requests.path(), answers.path()});
    ASSERT_TRUE(WaitUntilOpen(requests.path()) && WaitUntilOpen(answers.path())) << trace.errorOutput();
    std::vector<std::string> sent;
    for (int round = 0; round < 2; ++round) {
        for (int station = 1; station <= 3; ++station) {
            const std::string request = BuildModbusFrame(station, 3, 0, 4, "RTU");
            ASSERT_TRUE(requests.write(request));
            ASSERT_TRUE(bus.write(request));
            const std::string answer = bus.read(5 + 2 * 4);
            ASSERT_EQ(answer.size(), 13u) << "station " << station;
            ASSERT_TRUE(answers.write(answer));
            sent.push_back("1:" + Hex(request));
            sent.push_back("2:" + Hex(answer));
            std::this_thread::sleep_for(30ms);
        }
    }
    std::vector<std::string> seen;
    for (const JsonLine& line : ReadJsonLines(trace, sent.size())) seen.push_back(std::to_string(line.line) + ":" + line.bytes);
    EXPECT_EQ(seen, sent) << trace.errorOutput();
}

// One writer feeds two lines in turn: the trace shows the telegrams in that order.
TEST(LiveTrace, TwoLinesFedInTurnKeepTheirOrder) {
    Pty first, second;
    ChildProcess trace(kTrace, {"--json", "--gap-ms", "3", "--count", "16", first.path(), second.path()});
    ASSERT_TRUE(WaitUntilOpen(first.path()) && WaitUntilOpen(second.path())) << trace.errorOutput();
    std::vector<std::string> sent;
    for (int i = 0; i < 16; ++i) {
        const std::string telegram = "T" + std::to_string(i);
        ASSERT_TRUE((i % 2 == 0 ? first : second).write(telegram));
        sent.push_back(std::to_string(i % 2 + 1) + ":" + Hex(telegram));
        std::this_thread::sleep_for(15ms);
    }
    std::vector<std::string> seen;
    for (const JsonLine& line : ReadJsonLines(trace, sent.size())) seen.push_back(std::to_string(line.line) + ":" + line.bytes);
    EXPECT_EQ(seen, sent);
}

// The socat line is killed and started again on the same link path: the trace
// says the line was lost, opens it again, and goes on with its telegrams.
TEST(LiveTrace, ALineKilledAndBroughtBackOnTheSameLinkIsOpenedAgain) {
    if (!NeedSocat()) GTEST_SKIP() << "socat is not installed";
    TempDir dir;
    auto line = std::make_unique<SocatLine>(dir.file("trace"), dir.file("far"));
    ASSERT_TRUE(line->start());
    ChildProcess trace(kTrace, {"--json", dir.file("trace")});
    ASSERT_TRUE(WaitUntilOpen(dir.file("trace")));
    {
        FarEnd far(dir.file("far"));
        ASSERT_TRUE(far.write("before"));
        const std::vector<JsonLine> first = ReadJsonLines(trace, 1);
        ASSERT_EQ(first.size(), 1u) << trace.errorOutput();
        EXPECT_EQ(first[0].bytes, Hex("before"));
        line->stop();
    }
    const std::vector<JsonLine> lost = ReadJsonLines(trace, 1);
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].event, "lost");

    line = std::make_unique<SocatLine>(dir.file("trace"), dir.file("far"));
    ASSERT_TRUE(line->start());
    FarEnd far(dir.file("far"));
    const std::vector<JsonLine> back = ReadJsonLines(trace, 1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].event, "back");
    EXPECT_EQ(back[0].detail.rfind(dir.file("trace"), 0), 0u) << back[0].detail;
    ASSERT_TRUE(far.write("after"));
    const std::vector<JsonLine> after = ReadJsonLines(trace, 1);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].bytes, Hex("after"));
    EXPECT_FALSE(after[0].gapUs) << "a gap across the time the line was away";

    trace.signal(SIGINT);
    ASSERT_TRUE(trace.waitForExit(kPatience));
    const std::string summary = trace.errorOutput();
    EXPECT_NE(summary.find("2 telegrams, 11 bytes"), std::string::npos) << summary;
    EXPECT_NE(summary.find("lost 1, back 1"), std::string::npos) << summary;
}

// With --no-reconnect a lost line ends the run, with status 1 and the reason.
TEST(LiveTrace, NoReconnectEndsTheRunWhenTheLineIsLost) {
    auto pty = std::make_unique<Pty>();
    const std::string path = pty->path();
    ChildProcess trace(kTrace, {"--no-reconnect", path});
    ASSERT_TRUE(WaitUntilOpen(path));
    pty->closeMaster();
    const std::optional<int> status = trace.waitForExit(kPatience);
    ASSERT_TRUE(status && WIFEXITED(*status)) << "the run went on";
    EXPECT_EQ(WEXITSTATUS(*status), 1);
    EXPECT_NE(trace.errorOutput().find("varelo-trace: " + path + ": the device has gone; the run ends (--no-reconnect)"),
              std::string::npos)
        << trace.errorOutput();
}

// --modem on a line without modem lines says so once; --duration ends the run.
TEST(LiveTrace, ModemLinesOfAPseudoTerminalAndARunOfFixedLength) {
    Pty pty;
    const auto started = std::chrono::steady_clock::now();
    const CommandResult run = RunForOutput(kTrace + " --modem --json --duration 0.5 " + pty.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    const std::vector<JsonLine> lines = ParseJsonLines(run.output);
    ASSERT_EQ(lines.size(), 1u) << run.output;
    EXPECT_EQ(lines[0].event, "modem-unknown");
}

}  // namespace
}  // namespace varelo::test
