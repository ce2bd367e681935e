#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace varelo::test {

// A program run by a test, with its standard output and error captured. The
// destructor kills and reaps it if it is still running, so a failing test
// leaves no process behind.
class ChildProcess {
  public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // The next line of its standard output, or nothing if none comes in time
    // (a guard against hanging, not a measure).
    std::optional<std::string> readLine(std::chrono::milliseconds patience);
    // All it wrote on standard error once it has ended.
    std::string errorOutput();

    void signal(int signalNumber);
    // Waits for it to end and reaps it; its wait status, or nothing if it was
    // still running after `patience` (the destructor then kills it).
    std::optional<int> waitForExit(std::chrono::milliseconds patience);

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    int stderr_ = -1;
    std::string pendingOutput_;
};

// Reads from `fd` (the far end of a line) until `count` bytes have come, or
// nothing more comes for `quiet`.
std::string ReadFor(int fd, std::size_t count, std::chrono::milliseconds quiet);

// Whether a program can be found on the PATH.
bool onPath(const std::string& program);

// Runs a shell command line, bounded by `timeout` (coreutils) so it cannot
// hang; its exit status and what it printed on stdout and stderr.
struct CommandResult {
    int exitStatus = -1;
    std::string output;
};
CommandResult runCommand(const std::string& commandLine, int timeoutSeconds = 20);

}  // namespace varelo::test
