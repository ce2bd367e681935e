// What varelo-trace refuses at start, through the real program: a one-line
// message, the usage where the command line was wrong, exit status 2, nothing left behind.
#include "trace/tests/trace_test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace varelo::test {
namespace {

constexpr auto kPatience = std::chrono::seconds(10);

struct CommandLineCase {
    const char* name;
    std::string args;
    std::string message;
    friend void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.args; }
};

const CommandLineCase kCommandLines[] = {
    {"UnknownOption", "--colour /dev/null", "unknown option --colour"},
    {"BadSettingString", "--line 9600,9X1 /dev/null", "--line: '9600,9X1' is not a setting string such as 9600,8E1"},
    {"SettingStringWithoutRate", "--line ,8N1 /dev/null", "--line: ',8N1' is not a setting string"},
    {"BaudOfZero", "--baud 0 /dev/null", "--baud: '0' is not a rate"},
    {"BaudOfZeroForTheSecondLine", "--baud2 0 /dev/a /dev/b", "--baud2: '0' is not a rate"},
    {"GapZeroWithDelimiter", "--gap 0 --end 0A /dev/null", "a gap of 0 cuts at every block and cannot be used with --end"},
    {"GapMsZeroWithDelimiter", "--end 0A --gap-ms 0 /dev/null", "a gap of 0 cuts at every block"},
    {"OddDelimiter", "--end 0 /dev/null", "--end: '0' is not bytes in hexadecimal"},
    {"NoDevice", "--json", "no device named"},
    {"ThreeDevices", "/dev/a /dev/b /dev/c", "more than two devices: /dev/c"},
    {"MissingValue", "/dev/null --baud", "--baud needs a value (N)"},
    {"BadParity", "--parity high /dev/null", "--parity: 'high' is not none, odd, even, mark or space"},
};

class CommandLineRefusal : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineRefusal, SaysWhyInOneLineThenTheUsage) {
    const CommandResult run = runCommand(kTrace + " " + GetParam().args);
    EXPECT_EQ(run.exitStatus, 2);
    const std::string first = run.output.substr(0, run.output.find('\n'));
    EXPECT_EQ(first.rfind("varelo-trace: " + GetParam().message, 0), 0u) << run.output;
    EXPECT_NE(run.output.find("\nusage: varelo-trace [options] DEVICE [DEVICE2]\n"), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineRefusal, testing::ValuesIn(kCommandLines),
                         [](const testing::TestParamInfo<CommandLineCase>& param) { return param.param.name; });

TEST(DeviceRefusal, NamesTheDeviceAndTheReason) {
    char folder[] = "/tmp/varelo-trace-refusal.XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/capture.txt";
    std::ofstream(file) << "not a line\n";
    struct Case {
        std::string device;
        std::string reason;
    };
    for (const Case& c : {Case{std::string(folder) + "/ttyUSB9", "no such device"},
                          Case{file, "a file, not a serial line"}, Case{folder, "a folder, not a serial line"},
                          Case{"/dev/null", "not a serial line"}}) {
        const CommandResult run = runCommand(kTrace + " " + c.device);
        EXPECT_EQ(run.exitStatus, 2) << c.device;
        EXPECT_EQ(run.output, "varelo-trace: " + c.device + ": " + c.reason + "\n");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "left something behind";
    std::filesystem::remove_all(folder);
}

// A line held by a running trace is refused to a second one; the first, ended by
// SIGTERM, closes cleanly: its summary, and no lock file left.
TEST(DeviceRefusal, ALineHeldByAnotherProgramAndItsCleanEnd) {
    Pty pty;
    ASSERT_FALSE(pty.path().empty());
    ChildProcess first(kTrace, {"--json", pty.path()});
    pty.write("hello");
    const std::optional<std::string> line = first.readLine(kPatience);
    ASSERT_TRUE(line) << first.errorOutput();
    EXPECT_TRUE(std::filesystem::exists(LockFileOf(pty.path())));

    const CommandResult second = runCommand(kTrace + " " + pty.path());
    EXPECT_EQ(second.exitStatus, 2);
    EXPECT_EQ(second.output, "varelo-trace: " + pty.path() + ": held by another program\n");

    first.signal(SIGTERM);
    const std::optional<int> status = first.waitForExit(kPatience);
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    const std::string summary = first.errorOutput();
    EXPECT_NE(summary.find(pty.path() + ": 1 telegrams, 5 bytes"), std::string::npos) << summary;
    EXPECT_FALSE(std::filesystem::exists(LockFileOf(pty.path())));
}

// An output that cannot be written: refused at start when its folder is missing,
// and a run that ends with status 1 and a message when the disk is full or the
// file's folder is removed on the way.
TEST(OutputFailure, MissingFolderAtStartAndFullDiskOnTheWay) {
    Pty pty;
    const CommandResult missing = runCommand(kTrace + " --out /tmp/varelo-no-such-folder/trace.json " + pty.path());
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_EQ(missing.output, "varelo-trace: cannot write /tmp/varelo-no-such-folder/trace.json: No such file or directory\n");

    ChildProcess run(kTrace, {"--json", "--out", "/dev/full", pty.path()});
    pty.write("first");
    const std::optional<std::string> shown = run.readLine(kPatience);
    ASSERT_TRUE(shown) << run.errorOutput();
    EXPECT_NE(shown->find("\"bytes\":\"6669727374\""), std::string::npos);
    const std::optional<int> status = run.waitForExit(kPatience);
    ASSERT_TRUE(status && WIFEXITED(*status)) << "the run went on";
    EXPECT_EQ(WEXITSTATUS(*status), 1);
    EXPECT_NE(run.errorOutput().find("varelo-trace: cannot write /dev/full: No space left on device\n"),
              std::string::npos)
        << run.errorOutput();
}

TEST(OutputFailure, AFolderRemovedOnTheWayEndsTheRun) {
    Pty pty;
    auto dir = std::make_unique<TempDir>();
    const std::string out = dir->file("trace.json");
    const std::string record = dir->file("trace.vtr");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--json", "--out", out, pty.path()},
                                                 std::vector<std::string>{"--json", "--record", record, pty.path()}}) {
        std::filesystem::create_directories(std::filesystem::path(out).parent_path());
        ChildProcess run(kTrace, args);
        ASSERT_TRUE(pty.write("first"));
        ASSERT_TRUE(run.readLine(kPatience)) << run.errorOutput();
        std::filesystem::remove_all(std::filesystem::path(out).parent_path());
        ASSERT_TRUE(pty.write("second"));
        const std::optional<int> status = run.waitForExit(kPatience);
        ASSERT_TRUE(status && WIFEXITED(*status)) << "the run went on";
        EXPECT_EQ(WEXITSTATUS(*status), 1);
        const std::string file = args[2];
        EXPECT_NE(run.errorOutput().find("varelo-trace: cannot write " + file + ": the file has been removed"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace varelo::test
