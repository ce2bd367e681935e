// Ports shared with other programs on the machine: a port another program holds
// (flock, exclusive mark, lock file) is refused, and while the driver holds a port,
// terminals that keep to those locks are refused. The other programs are the
// Debian picocom and socat, where installed.
#include "serial/tests/pty_driver_fixture.h"
#include "serial/uucp_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

extern char** environ;

namespace varelo::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

bool Installed(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// A process id that no process has: a child that has ended and been reaped.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// The driver on a pseudo-terminal, with the lock file that names its device.
class DriverLock : public PtyDriverTest {
  protected:
    void TearDown() override {
        driver.Disconnect();
        fs::remove(lockPath);
    }

    const std::string lockPath = std::string(kUucpLockDir) + "/" + UucpLockName(pty.slavePath());
};

TEST_F(DriverLock, RefusesAPortAnotherProgramHolds) {
    const std::string link = fs::temp_directory_path() / ("varelo-link-" + std::to_string(::getpid()));
    fs::remove(link);
    fs::create_symlink(pty.slavePath(), link);
    int marked = -1;
    const struct {
        const char* name;
        std::string portName;
        std::function<void()> prepare;
        std::function<void()> undo;
    } cases[] = {
        {"marked exclusive", pty.slavePath(),
         [&] {
             marked = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
             ASSERT_EQ(::ioctl(marked, TIOCEXCL), 0);
         },
         [&] {
             ::ioctl(marked, TIOCNXCL);
             ::close(marked);
         }},
        {"lock file of a running process", pty.slavePath(),
         [&] { WriteFile(lockPath, UucpLockContent(::getppid())); }, [&] { fs::remove(lockPath); }},
        {"lock file as socat writes it", pty.slavePath(),
         [&] { WriteFile(lockPath, std::to_string(::getppid())); }, [&] { fs::remove(lockPath); }},
        {"lock file being written", pty.slavePath(), [&] { WriteFile(lockPath, ""); },
         [&] { fs::remove(lockPath); }},
        {"lock file of the device behind a link", link,
         [&] { WriteFile(lockPath, UucpLockContent(::getppid())); }, [&] { fs::remove(lockPath); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        const std::string lockBefore = ReadFile(lockPath);
        driver.SetPortName(c.portName);
        const int before = OpenDescriptorCount();
        EXPECT_FALSE(driver.Connect());
        EXPECT_FALSE(driver.Connected());
        EXPECT_EQ(OpenDescriptorCount(), before);
        EXPECT_EQ(ReadFile(lockPath), lockBefore) << "the other program's lock file is left as it was";
        c.undo();
        EXPECT_TRUE(driver.Connect()) << "free once the other program lets go";
        driver.Disconnect();
    }
    fs::remove(link);
}

TEST_F(DriverLock, AnEndedProcessLockGivesWayToOursWhileOpen) {
    WriteFile(lockPath, UucpLockContent(EndedProcess()));
    const std::string link = fs::temp_directory_path() / ("varelo-link-" + std::to_string(::getpid()));
    fs::remove(link);
    fs::create_symlink(pty.slavePath(), link);
    driver.SetPortName(link);

    ASSERT_TRUE(driver.Connect());
    EXPECT_EQ(ReadFile(lockPath), UucpLockContent(::getpid())) << "named after the device behind the link";
    struct stat st {};
    ASSERT_EQ(::stat(lockPath.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    driver.Disconnect();
    EXPECT_FALSE(fs::exists(lockPath));

    {
        TCommPortDriver destroyedOpen;
        destroyedOpen.SetPortName(link);
        ASSERT_TRUE(destroyedOpen.Connect());
        EXPECT_TRUE(fs::exists(lockPath));
    }
    EXPECT_FALSE(fs::exists(lockPath));
    fs::remove(link);
}

// A command run to its end: its exit status and all it printed.
struct Outcome {
    int status = -1;
    std::string output;
};

Outcome RunCommand(const std::string& command) {
    Outcome outcome;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return outcome;
    char chunk[256];
    while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) outcome.output.append(chunk, n);
    const int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

TEST_F(DriverLock, TerminalsThatKeepToLocksAreRefusedWhileThePortIsOpen) {
    if (!Installed("picocom") || !Installed("socat")) GTEST_SKIP() << "picocom or socat not installed";
    const std::string path = pty.slavePath();
    ASSERT_EQ(RunCommand("timeout 5 picocom -q --noreset " + path + " </dev/null").status, 0)
        << "picocom opens the free port";

    ASSERT_TRUE(driver.Connect());
    const struct {
        const char* name;
        std::string command;
        const char* says;
    } cases[] = {
        {"picocom", "timeout 5 picocom -q --noreset " + path + " </dev/null", "FATAL: cannot"},
        {"socat with a lock file",
         "timeout 5 socat -u OPEN:" + path + ",lockfile=" + lockPath + " - </dev/null",
         "could not obtain lock"},
        {"socat with flock", "timeout 5 socat -u OPEN:" + path + ",flock-ex-nb - </dev/null", " E "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = RunCommand(c.command);
        EXPECT_EQ(outcome.status, 1) << outcome.output;
        EXPECT_NE(outcome.output.find(c.says), std::string::npos) << outcome.output;
        EXPECT_TRUE(driver.Connected());
        EXPECT_EQ(ReadFile(lockPath), UucpLockContent(::getpid()));
    }
}

// Another program kept running on the port, with its standard input held open,
// until it is stopped.
class Holder {
  public:
    explicit Holder(std::vector<std::string> argv) {
        int input[2], output[2];
        if (::pipe2(input, O_CLOEXEC) != 0) return;
        if (::pipe2(output, O_CLOEXEC) != 0) {
            ::close(input[0]);
            ::close(input[1]);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        posix_spawn_file_actions_adddup2(&actions, output[1], 2);
        std::vector<char*> args;
        for (std::string& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        if (::posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        input_ = input[1];
        output_ = output[0];
    }
    ~Holder() { stop(); }

    // Reads what it prints until the text comes; false when it ends first.
    bool waitFor(const std::string& text) {
        char c;
        while (printed_.find(text) == std::string::npos) {
            if (::read(output_, &c, 1) != 1) return false;
            printed_ += c;
        }
        return true;
    }
    const std::string& printed() const { return printed_; }

    void stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        for (int* fd : {&input_, &output_}) {
            if (*fd >= 0) ::close(*fd);
            *fd = -1;
        }
    }

  private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string printed_;
};

TEST_F(DriverLock, APortATerminalHoldsIsRefused) {
    if (!Installed("picocom") || !Installed("socat")) GTEST_SKIP() << "picocom or socat not installed";
    const std::string path = pty.slavePath();
    const struct {
        const char* name;
        std::vector<std::string> argv;
        const char* ready;
    } cases[] = {
        {"picocom (flock)", {"timeout", "10", "picocom", "--noreset", path}, "Terminal ready"},
        {"socat with a lock file",
         {"timeout", "10", "socat", "-d", "-d", "-u", "OPEN:" + path + ",lockfile=" + lockPath, "-"},
         "starting data transfer loop"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Holder holder(c.argv);
        ASSERT_TRUE(holder.waitFor(c.ready)) << holder.printed();
        const std::string lockBefore = ReadFile(lockPath);
        EXPECT_FALSE(driver.Connect());
        EXPECT_EQ(ReadFile(lockPath), lockBefore);
        holder.stop();
        EXPECT_TRUE(driver.Connect()) << "free once it has ended";
        driver.Disconnect();
    }
}

}  // namespace
}  // namespace varelo::test

namespace varelo::test {
namespace {

// Another program on the port, in a process of its own: it opens the device, marks
// it exclusive, writes its lock file as Varelo does, and keeps all that until it
// is killed outright (SIGKILL), which leaves the mark on the pseudo-terminal and
// the lock file in the folder.
class ExclusiveHolder {
  public:
    ExclusiveHolder(const std::string& device, const std::string& lockPath, bool withLockFile) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            if (fd < 0 || ::ioctl(fd, TIOCEXCL) != 0) ::_exit(1);
            if (withLockFile) {
                const std::string content = UucpLockContent(::getpid());
                const int lock = ::open(lockPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (lock < 0 || ::write(lock, content.data(), content.size()) < 0) ::_exit(1);
                ::close(lock);
            }
            (void)::write(ready[1], "r", 1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char c = 0;
        ready_ = pid_ > 0 && ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
    }
    ~ExclusiveHolder() { kill(); }
    bool ready() const { return ready_; }
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

// A port is refused while the program that marked it runs, and opens once that
// program has been killed: its mark, still on the pseudo-terminal, and its lock
// file then bind nobody. Without administrator rights the system itself turns
// away every opener of a marked tty, so only an administrator's Varelo can clear
// a mark a killed program left.
TEST_F(DriverLock, TheMarkAndLockFileOfAKilledProgramGiveWay) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs administrator rights to open a marked tty";
    for (const bool withLockFile : {true, false}) {
        SCOPED_TRACE(withLockFile ? "mark and lock file" : "mark alone");
        ExclusiveHolder holder(pty.slavePath(), lockPath, withLockFile);
        ASSERT_TRUE(holder.ready());
        EXPECT_FALSE(driver.Connect()) << "held by a running program";

        holder.kill();
        ASSERT_TRUE(MarkedExclusive(pty.slavePath())) << "the pseudo-terminal keeps the mark";
        ASSERT_EQ(fs::exists(lockPath), withLockFile);
        ASSERT_TRUE(driver.Connect()) << "nobody holds it any more";
        EXPECT_EQ(ReadFile(lockPath), UucpLockContent(::getpid()));
        driver.Disconnect();
        EXPECT_FALSE(MarkedExclusive(pty.slavePath()));
        EXPECT_FALSE(fs::exists(lockPath));
    }
}

}  // namespace
}  // namespace varelo::test
