#include "bench/whole_program/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

extern char** environ;

namespace varelo::bench {
namespace {

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string item(*entry);
        const std::string name = item.substr(0, item.find('='));
        bool replaced = false;
        for (const auto& e : extra) replaced |= e.substr(0, e.find('=')) == name;
        if (!replaced) merged.push_back(item);
    }
    merged.insert(merged.end(), extra.begin(), extra.end());
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& items) {
    std::vector<char*> out;
    for (auto& item : items) out.push_back(item.data());
    out.push_back(nullptr);
    return out;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, Capture capture,
                           const std::vector<std::string>& environment) {
    int pipeFds[2] = {-1, -1};
    if (capture != Capture::None && ::pipe2(pipeFds, O_CLOEXEC) != 0) return;
    // Its standard input stays open and quiet until it ends, as a terminal left alone.
    int inputFds[2] = {-1, -1};
    if (::pipe2(inputFds, O_CLOEXEC) != 0) return;
    input_ = inputFds[1];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inputFds[0], 0);
    if (capture != Capture::None) {
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], capture == Capture::Stdout ? 1 : 2);
    }
    std::vector<std::string> args = argv;
    std::vector<std::string> env = mergedEnvironment(environment);
    std::vector<char*> argp = pointers(args);
    std::vector<char*> envp = pointers(env);
    pid_t pid = -1;
    if (::posix_spawnp(&pid, argp[0], &actions, nullptr, argp.data(), envp.data()) == 0) pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
    ::close(inputFds[0]);
    if (capture != Capture::None) {
        ::close(pipeFds[1]);
        output_ = pipeFds[0];
    }
}

ChildProcess::~ChildProcess() {
    end();
    if (output_ >= 0) ::close(output_);
    if (input_ >= 0) ::close(input_);
}

std::optional<std::string> ChildProcess::waitForLine(const std::string& text,
                                                     std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            if (line.find(text) != std::string::npos) return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (output_ < 0 || left.count() <= 0) return std::nullopt;
        pollfd readable{output_, POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
        char buffer[4096];
        const ssize_t n = ::read(output_, buffer, sizeof buffer);
        if (n <= 0) return std::nullopt;
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

bool ChildProcess::waitForExit(std::chrono::milliseconds limit) {
    if (pid_ <= 0) return true;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

void ChildProcess::end(std::chrono::milliseconds grace) {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    if (waitForExit(grace)) return;
    ::kill(pid_, SIGKILL);
    waitForExit(std::chrono::milliseconds(2000));
}

}  // namespace varelo::bench
