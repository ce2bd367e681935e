// varelo-sim as a process on real pseudo-terminals: Varelo-built requests on a
// pty, and an independent MODBUS master (mbpoll) over a socat pty pair.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>

#include "modbus/modbus_frame.h"
#include "sim/tests/bus_exchange.h"
#include "sim/tests/child_process.h"

namespace varelo::test {
namespace {

const std::string kSim = VARELO_SIM_PATH;
constexpr auto kPatience = std::chrono::seconds(10);

// A pseudo-terminal whose master end the test holds.
class PseudoTerminal {
  public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) slavePath_ = ptsname(master_);
    }
    ~PseudoTerminal() { closeMaster(); }

    bool ready() const { return !slavePath_.empty(); }
    const std::string& slavePath() const { return slavePath_; }
    void closeMaster() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }

    void write(const std::string& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }

    // Reads until `count` bytes have come, or nothing more comes for `quiet`.
    std::string read(std::size_t count, std::chrono::milliseconds quiet = std::chrono::milliseconds(3000)) {
        return ReadFor(master_, count, quiet);
    }

  private:
    int master_ = -1;
    std::string slavePath_;
};

// The simulator started on a device, up and serving once it has said so.
std::unique_ptr<ChildProcess> startSim(std::vector<std::string> args) {
    auto sim = std::make_unique<ChildProcess>(kSim, args);
    const std::optional<std::string> ready = sim->readLine(kPatience);
    EXPECT_TRUE(ready && ready->rfind("varelo-sim: ", 0) == 0)
        << "no ready line; stderr: " << sim->errorOutput();
    return sim;
}

void expectCleanExit(ChildProcess& process) {
    const std::optional<int> status = process.waitForExit(kPatience);
    ASSERT_TRUE(status.has_value()) << "still running";
    EXPECT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

TEST(SimOnPseudoTerminal, AnswersRequestsInTheirOwnFraming) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.ready());
    auto sim = startSim({pty.slavePath()});

    pty.write(BuildModbusFrame(1, 3, 0, 32, "RTU"));
    const OpenedAnswer tag = openRtu(pty.read(3 + 64 + 2));
    ASSERT_TRUE(tag.checkRight);
    EXPECT_EQ(tag.message.substr(0, 5),
              "\x01\x03\x40"
              "AV");  // "VA", high byte first

    pty.write(BuildModbusFrame(4, 17, 0, 0, "ASCII"));
    const std::string asciiAnswer = pty.read(1 + 2 * (3 + 14 + 1) + 2);
    EXPECT_TRUE(openAscii(asciiAnswer).checkRight) << asciiAnswer;

    // A garbled request goes unanswered; the next one is answered.
    std::string garbled = BuildModbusFrame(2, 3, 0, 1, "RTU");
    garbled[7] = static_cast<char>(garbled[7] ^ 0x10);
    pty.write(garbled);
    EXPECT_EQ(pty.read(1, std::chrono::milliseconds(300)), "");
    pty.write(BuildModbusFrame(2, 3, 0, 1, "RTU"));
    EXPECT_TRUE(openRtu(pty.read(7)).checkRight);

    sim->signal(SIGTERM);
    expectCleanExit(*sim);
}

class SimStopSignal : public ::testing::TestWithParam<int> {};

TEST_P(SimStopSignal, EndsTheProgramCleanly) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.ready());
    auto sim = startSim({"--role", "scale", "--period", "50", pty.slavePath()});
    EXPECT_NE(pty.read(27).find(" Kg\r\n"), std::string::npos);
    const pid_t pid = sim->pid();
    sim->signal(GetParam());
    expectCleanExit(*sim);
    EXPECT_EQ(kill(pid, 0), -1) << "the process is reaped, none is left behind";
}

INSTANTIATE_TEST_SUITE_P(Signals, SimStopSignal, ::testing::Values(SIGTERM, SIGINT));

TEST(SimOnPseudoTerminal, EndsWhenTheLineDisappears) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.ready());
    auto sim = startSim({"--role", "loop", pty.slavePath()});
    pty.write("ping");
    EXPECT_EQ(pty.read(4), "ping");
    pty.closeMaster();
    expectCleanExit(*sim);
    EXPECT_NE(sim->errorOutput().find("has gone away"), std::string::npos);
}

TEST(SimDevice, AMissingDeviceIsRefusedInOneLine) {
    ChildProcess sim(kSim, {"/nonexistent/line"});
    const std::optional<int> status = sim.waitForExit(kPatience);
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_NE(WEXITSTATUS(*status), 0);
    EXPECT_EQ(sim.errorOutput(), "varelo-sim: cannot open /nonexistent/line: No such file or directory\n");
}

TEST(SimDevice, AHeldDeviceIsRefused) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.ready());
    auto first = startSim({pty.slavePath()});
    ChildProcess second(kSim, {pty.slavePath()});
    const std::optional<int> status = second.waitForExit(kPatience);
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_NE(WEXITSTATUS(*status), 0);
    EXPECT_EQ(second.errorOutput(), "varelo-sim: " + pty.slavePath() + " is in use by another program\n");
}

// An independent MODBUS master, mbpoll, talks to the simulator over a socat
// pty pair, as a user would set it up.
class SimWithMbpoll : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!onPath("socat") || !onPath("mbpoll")) GTEST_SKIP() << "socat or mbpoll is not installed";
        char folder[] = "/tmp/varelo-sim-test-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        folder_ = folder;
        master_ = folder_ / "master";
        slave_ = folder_ / "slave";
        socat_ = std::make_unique<ChildProcess>(
            "/usr/bin/env", std::vector<std::string>{"socat", "pty,raw,echo=0,link=" + master_.string(),
                                                     "pty,raw,echo=0,link=" + slave_.string()});
        for (int i = 0; i < 500 && !(std::filesystem::exists(master_) && std::filesystem::exists(slave_));
             ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(std::filesystem::exists(slave_)) << "socat made no pty pair";
    }

    void TearDown() override {
        if (sim_) {
            sim_->signal(SIGTERM);
            expectCleanExit(*sim_);
        }
        if (socat_) {
            socat_->signal(SIGTERM);
            socat_->waitForExit(kPatience);
        }
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }

    void startSimOnSlave(std::vector<std::string> args = {}) {
        args.push_back(slave_.string());
        sim_ = startSim(args);
    }

    // mbpoll on the master end of the pair; `values` to write come after the device.
    CommandResult mbpoll(const std::string& options, const std::string& values = "") {
        return runCommand("mbpoll -m rtu -b 9600 -P none -1 -q " + options + " " + master_.string() + " " +
                          values);
    }

    std::filesystem::path folder_, master_, slave_;
    std::unique_ptr<ChildProcess> socat_, sim_;
};

// The values mbpoll printed, as "[reference]: value" lines.
std::vector<long> polledValues(const std::string& output) {
    std::vector<long> values;
    const std::regex line(R"(\[\d+\]:\s+(-?\d+))");
    for (auto it = std::sregex_iterator(output.begin(), output.end(), line); it != std::sregex_iterator();
         ++it)
        values.push_back(std::stol((*it)[1]));
    return values;
}

TEST_F(SimWithMbpoll, ReadsTheTagRegistersCoilsAndInputRegisters) {
    startSimOnSlave();

    const CommandResult tag = mbpoll("-a 1 -r 1 -c 10 -t 4");
    ASSERT_EQ(tag.exitStatus, 0) << tag.output;
    std::vector<long> expected;
    for (int i = 0; i < 10; ++i) {
        const std::string text = "VARELO DEMO TAG SERIAL";
        expected.push_back(static_cast<unsigned char>(text[2 * i + 1]) << 8 |
                           static_cast<unsigned char>(text[2 * i]));
    }
    EXPECT_EQ(polledValues(tag.output), expected) << tag.output;

    const CommandResult coils = mbpoll("-a 2 -r 1 -c 10 -t 0");
    ASSERT_EQ(coils.exitStatus, 0) << coils.output;
    EXPECT_EQ(polledValues(coils.output), (std::vector<long>{0, 1, 0, 1, 0, 1, 0, 1, 0, 1}));

    const CommandResult inputs = mbpoll("-a 6 -r 101 -c 3 -t 3");
    ASSERT_EQ(inputs.exitStatus, 0) << inputs.output;
    EXPECT_EQ(polledValues(inputs.output), (std::vector<long>{100, 101, 102}));

    const CommandResult id = mbpoll("-a 3 -u");
    ASSERT_EQ(id.exitStatus, 0) << id.output;
    EXPECT_NE(id.output.find("VARELO-SIM 3"), std::string::npos) << id.output;
}

TEST_F(SimWithMbpoll, WritesAreReadBack) {
    startSimOnSlave();
    const CommandResult write = mbpoll("-a 2 -r 10 -t 4", "4321");
    ASSERT_EQ(write.exitStatus, 0) << write.output;
    ASSERT_EQ(mbpoll("-a 2 -r 3 -t 0", "1").exitStatus, 0);
    const CommandResult registers = mbpoll("-a 2 -r 9 -c 2 -t 4");
    EXPECT_EQ(polledValues(registers.output), (std::vector<long>{8, 4321})) << registers.output;
    const CommandResult coils = mbpoll("-a 2 -r 1 -c 4 -t 0");
    EXPECT_EQ(polledValues(coils.output), (std::vector<long>{0, 1, 1, 1})) << coils.output;
}

TEST_F(SimWithMbpoll, SeesTheFaultsItIsShown) {
    startSimOnSlave({"--bad-crc", "2", "--split", "3:2"});
    const CommandResult good = mbpoll("-a 1 -r 1 -c 4 -t 4");
    EXPECT_EQ(good.exitStatus, 0) << "answers in pieces are whole: " << good.output;
    const CommandResult bad = mbpoll("-a 1 -r 1 -c 4 -t 4");
    EXPECT_NE(bad.exitStatus, 0);
    EXPECT_NE(bad.output.find("Invalid CRC"), std::string::npos) << bad.output;
    const CommandResult absent = mbpoll("-a 9 -r 1 -c 1 -t 4 -o 0.3");
    EXPECT_NE(absent.exitStatus, 0);
    EXPECT_NE(absent.output.find("timed out"), std::string::npos) << absent.output;
}

}  // namespace
}  // namespace varelo::test
