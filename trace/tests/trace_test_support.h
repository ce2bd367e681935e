#pragma once

// Running varelo-trace itself, and reading its JSON lines back.
#include "sim/tests/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include <cstdint>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace varelo::test {

inline const std::string kTrace = VARELO_TRACE_PATH;
inline const std::string kSim = VARELO_SIM_PATH;

// One telegram or line event as --json wrote it.
struct JsonLine {
    int line = 0;
    std::string bytes;  // hexadecimal
    std::string flags;  // as written, e.g. "cut","continued"
    std::string event;  // empty for a telegram
    std::string detail;
    std::int64_t timeUs = 0;
    std::optional<std::int64_t> gapUs;
};

inline std::optional<std::string> JsonMember(const std::string& text, const std::string& name) {
    const std::regex pattern("\"" + name + "\":(\"[^\"]*\"|\\[[^\\]]*\\]|-?[0-9]+)");
    std::smatch m;
    if (!std::regex_search(text, m, pattern)) return std::nullopt;
    std::string value = m[1];
    if (value.front() == '"' || value.front() == '[') value = value.substr(1, value.size() - 2);
    return value;
}

inline std::optional<JsonLine> ParseJsonLine(const std::string& text) {
    const auto line = JsonMember(text, "line");
    const auto time = JsonMember(text, "time_us");
    if (!line || !time) return std::nullopt;
    JsonLine parsed;
    parsed.line = std::stoi(*line);
    parsed.timeUs = std::stoll(*time);
    parsed.bytes = JsonMember(text, "bytes").value_or("");
    parsed.flags = JsonMember(text, "flags").value_or("");
    parsed.event = JsonMember(text, "event").value_or("");
    parsed.detail = JsonMember(text, "detail").value_or("");
    if (auto gap = JsonMember(text, "gap_us")) parsed.gapUs = std::stoll(*gap);
    return parsed;
}

inline std::vector<JsonLine> ParseJsonLines(const std::string& output) {
    std::vector<JsonLine> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
        if (auto parsed = ParseJsonLine(output.substr(start, end - start))) lines.push_back(*parsed);
    }
    return lines;
}

inline std::string Hex(const std::string& bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += digits[static_cast<unsigned char>(c) >> 4];
        out += digits[static_cast<unsigned char>(c) & 0xF];
    }
    return out;
}

// A pseudo-terminal whose master end the test holds, for a line to open. It is
// raw from the start, so bytes written before the line opens arrive unchanged.
class Pty {
  public:
    Pty() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        path_ = ptsname(master_);
        termios raw{};
        tcgetattr(master_, &raw);
        cfmakeraw(&raw);
        tcsetattr(master_, TCSANOW, &raw);
    }
    ~Pty() { closeMaster(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    const std::string& path() const { return path_; }
    bool write(const std::string& bytes) { return ::write(master_, bytes.data(), bytes.size()) == ssize_t(bytes.size()); }
    // Reads until `count` bytes have come, or nothing more comes for `quiet`.
    std::string read(std::size_t count, std::chrono::milliseconds quiet = std::chrono::milliseconds(3000)) {
        return ReadFor(master_, count, quiet);
    }
    void closeMaster() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }

  private:
    int master_ = -1;
    std::string path_;
};

// A command line run with its standard error thrown away: what it wrote on standard output.
inline CommandResult RunForOutput(const std::string& commandLine) {
    return runCommand("sh -c '" + commandLine + " 2>/dev/null'");
}

// A folder of its own for one test, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        char name[] = "/tmp/varelo-trace-test.XXXXXX";
        path_ = ::mkdtemp(name);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// The lock file of a device opened by its real path.
inline std::string LockFileOf(const std::string& devicePath) {
    std::string name = std::filesystem::canonical(devicePath).string().substr(5);
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    return "/var/lock/LCK.." + name;
}

// Waits until a trace has opened the device (its lock file is there) and set its line.
inline bool WaitUntilOpen(const std::string& devicePath, std::chrono::milliseconds patience = std::chrono::seconds(10)) {
    const auto until = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < until) {
        std::error_code error;
        if (std::filesystem::exists(LockFileOf(devicePath), error)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A socat pty pair whose two ends are links at fixed paths.
class SocatLine {
  public:
    SocatLine(std::string near, std::string far) : near_(std::move(near)), far_(std::move(far)) {}
    ~SocatLine() { stop(); }

    bool start() {
        socat_ = std::make_unique<ChildProcess>(
            "/usr/bin/env", std::vector<std::string>{"socat", "pty,raw,echo=0,link=" + near_,
                                                     "pty,raw,echo=0,link=" + far_});
        for (int tenths = 0; tenths < 100; ++tenths) {
            if (std::filesystem::exists(near_) && std::filesystem::exists(far_)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    void stop() {
        if (!socat_) return;
        socat_->signal(SIGTERM);
        socat_->waitForExit(std::chrono::seconds(10));
        socat_.reset();
    }

  private:
    std::string near_, far_;
    std::unique_ptr<ChildProcess> socat_;
};

}  // namespace varelo::test
