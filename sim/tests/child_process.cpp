#include "sim/tests/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace varelo::test {

std::string ReadFor(int fd, std::size_t count, std::chrono::milliseconds quiet) {
    std::string bytes;
    while (bytes.size() < count) {
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, static_cast<int>(quiet.count())) <= 0) break;
        char chunk[512];
        const ssize_t got = ::read(fd, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (got <= 0) break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    return bytes;
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args) {
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    stdout_ = out[0];
    stderr_ = err[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (stdout_ >= 0) close(stdout_);
    if (stderr_ >= 0) close(stderr_);
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (const std::size_t end = pendingOutput_.find('\n'); end != std::string::npos) {
            std::string line = pendingOutput_.substr(0, end);
            pendingOutput_.erase(0, end + 1);
            return line;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - std::chrono::steady_clock::now());
        pollfd readable{stdout_, POLLIN, 0};
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
        char bytes[256];
        const ssize_t count = read(stdout_, bytes, sizeof bytes);
        if (count <= 0) return std::nullopt;
        pendingOutput_.append(bytes, static_cast<std::size_t>(count));
    }
}

std::string ChildProcess::errorOutput() {
    std::string text;
    char bytes[256];
    pollfd readable{stderr_, POLLIN, 0};
    while (poll(&readable, 1, 1000) > 0) {
        const ssize_t count = read(stderr_, bytes, sizeof bytes);
        if (count <= 0) break;
        text.append(bytes, static_cast<std::size_t>(count));
    }
    return text;
}

void ChildProcess::signal(int signalNumber) {
    if (pid_ > 0) kill(pid_, signalNumber);
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (pid_ > 0) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return status;
        }
        if (done < 0 || std::chrono::steady_clock::now() > giveUp) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':'))
        if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0) return true;
    return false;
}

CommandResult runCommand(const std::string& commandLine, int timeoutSeconds) {
    const std::string bounded =
        "timeout -k 2 " + std::to_string(timeoutSeconds) + " " + commandLine + " 2>&1";
    CommandResult result;
    FILE* pipe = popen(bounded.c_str(), "r");
    if (!pipe) return result;
    char bytes[512];
    std::size_t count;
    while ((count = fread(bytes, 1, sizeof bytes, pipe)) > 0) result.output.append(bytes, count);
    const int status = pclose(pipe);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace varelo::test
