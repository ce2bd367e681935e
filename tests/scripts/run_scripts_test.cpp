// The run command's wiring without a display: scripts/virtual-lines and
// scripts/run started for real, with a stand-in for Varelo on the lines, and
// whatever they leave behind looked for afterwards.

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

#include "modbus/modbus_frame.h"
#include "sim/tests/child_process.h"

namespace varelo::test {
namespace {

namespace fs = std::filesystem;

const std::string kRepo = VARELO_SOURCE_DIR;
const std::string kSim = VARELO_SIM_PATH;
const std::string kStandIn = VARELO_STAND_IN_PATH;
constexpr auto kPatience = std::chrono::seconds(30);

struct Exit {
    bool signalled = false;
    int code = -1;
};

// The processes whose parent is this test: a script's children that outlive it
// come here, as the test makes itself their reaper.
std::vector<std::string> adoptedProcesses() {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream status(entry.path() / "status");
        std::string line, name;
        while (std::getline(status, line)) {
            if (line.rfind("Name:", 0) == 0) name = line.substr(6);
            if (line.rfind("PPid:", 0) == 0 && std::stoi(line.substr(5)) == getpid())
                found.push_back(entry.path().filename().string() + " " + name);
        }
    }
    return found;
}

// Bytes from a line of hexadecimal pairs, "01 11 c0 2c".
std::string fromHex(const std::string& text) {
    std::istringstream pairs(text);
    std::string bytes;
    unsigned value = 0;
    while (pairs >> std::hex >> value) bytes += static_cast<char>(value);
    return bytes;
}

bool rtuCheckRight(const std::string& frame) {
    return frame.size() >= 4 &&
           ModbusCrc16(frame.substr(0, frame.size() - 2)) == frame.substr(frame.size() - 2);
}

// A pseudo-terminal standing for a real device named on the command line.
class NamedDevice {
  public:
    NamedDevice() : master_(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) path_ = ptsname(master_);
    }
    ~NamedDevice() {
        if (master_ >= 0) close(master_);
    }
    const std::string& path() const { return path_; }

  private:
    int master_;
    std::string path_;
};

// Runs the scripts with the COM variables cleared, their temporary folder in a
// folder of the test's own, and the simulator and the stand-in of this build.
// Afterwards, nothing may be left: no process, nothing in the folder.
class RunScripts : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!onPath("socat")) GTEST_SKIP() << "socat is not installed";
        ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
        char folder[] = "/tmp/varelo-scripts-test-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        tmp_ = folder;
    }

    void TearDown() override {
        if (script_) {  // a script still running after a failure is asked to end, as a user would
            script_->signal(SIGTERM);
            script_->waitForExit(kPatience);
            script_.reset();
        }
        const std::vector<std::string> left = adoptedProcesses();
        EXPECT_TRUE(left.empty()) << "left running: " << ::testing::PrintToString(left);
        for (const std::string& process : left) {
            const pid_t pid = std::stoi(process);
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (tmp_.empty()) return;
        EXPECT_TRUE(fs::is_empty(tmp_))
            << "left in the temporary folder: " << fs::begin(fs::directory_iterator(tmp_))->path();
        fs::remove_all(tmp_);
    }

    // `settings` are NAME=VALUE pairs on top of the test's environment.
    void start(const std::string& script, const std::vector<std::string>& settings,
               const std::vector<std::string>& args) {
        std::vector<std::string> envArgs;
        for (int n = 1; n <= 16; ++n) envArgs.insert(envArgs.end(), {"-u", "VARELO_COM" + std::to_string(n)});
        envArgs.insert(envArgs.end(), {"TMPDIR=" + tmp_.string(), "VARELO_SIM_BIN=" + kSim});
        envArgs.insert(envArgs.end(), settings.begin(), settings.end());
        envArgs.push_back(kRepo + "/scripts/" + script);
        envArgs.insert(envArgs.end(), args.begin(), args.end());
        script_ = std::make_unique<ChildProcess>("/usr/bin/env", envArgs);
    }

    std::string line() {
        const std::optional<std::string> next = script_->readLine(kPatience);
        return next ? *next : "(no line; stderr: " + script_->errorOutput() + ")";
    }

    Exit waitForExit() {
        const std::optional<int> status = script_->waitForExit(kPatience);
        if (!status) return {};
        return WIFSIGNALED(*status) ? Exit{true, WTERMSIG(*status)} : Exit{false, WEXITSTATUS(*status)};
    }

    // The two wiring lines; the folder of the lines.
    std::string readWiring(const std::string& busDescription) {
        const std::string com1 = line();
        std::smatch found;
        const std::regex com1Line("COM1 \\(port 1\\): virtual line (" + tmp_.string() +
                                  "/varelo\\.\\w+)/com1 <-> simulated MODBUS field bus, " + busDescription);
        EXPECT_TRUE(std::regex_match(com1, found, com1Line)) << com1;
        const std::string folder = found.empty() ? "" : found[1].str();
        EXPECT_EQ(line(), "COM2 (port 2): virtual line " + folder +
                              "/com2 <-> simulated scale, a weight line every second");
        return folder;
    }

    fs::path tmp_;
    std::unique_ptr<ChildProcess> script_;
};

struct BusCase {
    const char* name;
    const char* options;
    const char* description;
    int station;         // the station the stand-in polls
    std::size_t echoed;  // bytes of the request that come back before the answer
};

void PrintTo(const BusCase& bus, std::ostream* out) {
    *out << bus.name;
}

class VirtualLinesWiring : public RunScripts, public ::testing::WithParamInterface<BusCase> {};

TEST_P(VirtualLinesWiring, PutsTheFieldBusOnCom1AndTheScaleOnCom2) {
    const BusCase& bus = GetParam();
    const std::size_t answerSize = 19;  // a slave id "VARELO-SIM n" in its frame
    start("virtual-lines", {std::string("VARELO_SIM_BUS_OPTS=") + bus.options},
          {kStandIn, "exchange", std::to_string(bus.station), std::to_string(bus.echoed + answerSize)});
    readWiring(bus.description);

    const std::string com1 = line();
    ASSERT_EQ(com1.rfind("COM1 <- ", 0), 0u) << com1;
    const std::string received = fromHex(com1.substr(8));
    const std::string request = BuildModbusFrame(bus.station, 17, 0, 0, "RTU");
    EXPECT_EQ(received.substr(0, bus.echoed), request.substr(0, bus.echoed));
    const std::string answer = received.substr(bus.echoed);
    EXPECT_EQ(answer.substr(0, 2), request.substr(0, 2)) << com1;
    EXPECT_TRUE(rtuCheckRight(answer)) << com1;

    const std::string com2 = line();
    EXPECT_TRUE(std::regex_match(com2, std::regex(R"(COM2 <- \d\d/\d\d/\d{4} \d\d:\d\d [ \d]{2}\d\.\d Kg)")))
        << com2;

    const Exit exit = waitForExit();
    EXPECT_FALSE(exit.signalled);
    EXPECT_EQ(exit.code, 0) << script_->errorOutput();
}

INSTANTIATE_TEST_SUITE_P(
    BusOptions, VirtualLinesWiring,
    ::testing::Values(BusCase{"Plain", "", "stations 1-6, tag reader at station 1", 1, 0},
                      BusCase{"Echoing", "--echo --stations 1-3",
                              "stations 1-3, tag reader at station 1, with --echo --stations 1-3", 3, 4},
                      BusCase{"NoTagReader", "--stations 2-4", "stations 2-4, with --stations 2-4", 2, 0}),
    [](const ::testing::TestParamInfo<BusCase>& case_) { return std::string(case_.param.name); });

TEST_F(RunScripts, RefusedBusOptionsEndTheRunBeforeTheProgramStarts) {
    start("virtual-lines", {"VARELO_SIM_BUS_OPTS=--bogus"}, {kStandIn});
    const Exit exit = waitForExit();
    EXPECT_FALSE(exit.signalled);
    EXPECT_EQ(exit.code, 1);
    EXPECT_EQ(script_->readLine(std::chrono::seconds(1)), std::nullopt) << "the stand-in ran";
    const std::string errors = script_->errorOutput();
    EXPECT_NE(errors.find("varelo-sim: unknown option --bogus"), std::string::npos) << errors;
    EXPECT_NE(
        errors.find("virtual-lines: the simulator on COM1's line (" + kSim + ") ended before it was ready"),
        std::string::npos)
        << errors;
}

// Who is sent which signal while the stand-in holds both lines; the script
// ends as the shell reports a signal, 128 + its number.
struct Ending {
    const char* name;
    bool toTheProgram;  // else to the script
    int signal;
};

void PrintTo(const Ending& ending, std::ostream* out) {
    *out << ending.name;
}

class VirtualLinesEnding : public RunScripts, public ::testing::WithParamInterface<Ending> {};

TEST_P(VirtualLinesEnding, LeavesNothingBehind) {
    const Ending& ending = GetParam();
    start("virtual-lines", {}, {kStandIn, "hold"});
    readWiring("stations 1-6, tag reader at station 1");
    const std::string holding = line();
    ASSERT_EQ(holding.rfind("holding, pid ", 0), 0u) << holding;
    const pid_t program = std::stoi(holding.substr(13));

    kill(ending.toTheProgram ? program : script_->pid(), ending.signal);
    const Exit exit = waitForExit();
    EXPECT_FALSE(exit.signalled);
    EXPECT_EQ(exit.code, 128 + ending.signal);
}

INSTANTIATE_TEST_SUITE_P(
    Signals, VirtualLinesEnding,
    ::testing::Values(Ending{"ProgramKilled", true, SIGKILL}, Ending{"ProgramTerminated", true, SIGTERM},
                      Ending{"ScriptTerminated", false, SIGTERM}, Ending{"ScriptInterrupted", false, SIGINT},
                      Ending{"ScriptHungUp", false, SIGHUP}),
    [](const ::testing::TestParamInfo<Ending>& case_) { return std::string(case_.param.name); });

// scripts/run, with its set-up skipped and the stand-in as the program.
const std::vector<std::string> kRunSettings = {"VARELO_SKIP_SETUP=1", "VARELO_BIN=" + kStandIn};

TEST_F(RunScripts, RunWithNoDeviceNamedStartsTheProgramOnVirtualLines) {
    start("run", kRunSettings, {});
    const std::string folder = readWiring("stations 1-6, tag reader at station 1");
    EXPECT_EQ(line().rfind("stand-in pid ", 0), 0u);
    EXPECT_EQ(line(), "VARELO_COM1=" + folder + "/com1");
    EXPECT_EQ(line(), "VARELO_COM2=" + folder + "/com2");
    EXPECT_EQ(waitForExit().code, 0);
}

// Devices named on the command line or in the environment: the program starts
// in the script's place (same pid) on them, and nothing else is started.
TEST_F(RunScripts, RunWithDevicesNamedStartsTheProgramAlone) {
    NamedDevice first, second;
    ASSERT_FALSE(first.path().empty() || second.path().empty());
    struct Case {
        std::vector<std::string> settings, args;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {{},
         {first.path(), second.path()},
         {"COM1 (port 1): " + first.path(), "COM2 (port 2): " + second.path(), "",
          "VARELO_COM1=" + first.path(), "VARELO_COM2=" + second.path()}},
        {{"VARELO_COM2=" + second.path()},
         {},
         {"COM1 (port 1): /dev/ttyS0 (no VARELO_COM1 set)", "COM2 (port 2): " + second.path(), "",
          "VARELO_COM2=" + second.path()}},
        {{"VARELO_COM7=" + second.path()},
         {first.path()},
         {"COM1 (port 1): " + first.path(), "COM2 (port 2): /dev/ttyS1 (no VARELO_COM2 set)", "",
          "VARELO_COM1=" + first.path(), "VARELO_COM7=" + second.path()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args) + " " + ::testing::PrintToString(c.settings));
        std::vector<std::string> settings = kRunSettings;
        settings.insert(settings.end(), c.settings.begin(), c.settings.end());
        start("run", settings, c.args);
        for (const std::string& expected : c.expected) {
            if (expected.empty()) {
                EXPECT_EQ(line(), "stand-in pid " + std::to_string(script_->pid()));
            } else {
                EXPECT_EQ(line(), expected);
            }
        }
        EXPECT_EQ(waitForExit().code, 0);
    }
}

TEST_F(RunScripts, RunRefusesADeviceThatDoesNotExist) {
    start("run", kRunSettings, {"/nonexistent/line"});
    EXPECT_EQ(waitForExit().code, 1);
    EXPECT_EQ(script_->readLine(std::chrono::seconds(1)), std::nullopt) << "the stand-in ran";
    EXPECT_EQ(script_->errorOutput(), "run: /nonexistent/line (for COM1) does not exist\n");
}

}  // namespace
}  // namespace varelo::test
