// The program is killed (SIGKILL), or ended by a signal it closes down on
// (SIGTERM), while it captures both ports flooded at full speed. The capture file
// must hold every block the monitor had shown, exactly as it was fed, and end on a
// whole piece: nothing torn, nothing invented.
#include "app/tests/termination_drill.h"
#include "sim/tests/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace varelo::test {
namespace {

// Every byte value occurs, and a byte lost, doubled or moved shows from there on.
std::uint8_t PatternByte(std::uint64_t index) {
    return static_cast<std::uint8_t>(index + (index >> 8) * 3);
}

// A pseudo-terminal whose master end a thread floods with the pattern.
class FloodedLine {
  public:
    FloodedLine() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) slave_ = ::ptsname(master_);
    }
    ~FloodedLine() {
        stop();
        if (master_ >= 0) ::close(master_);
    }
    const std::string& slavePath() const { return slave_; }
    void start() {
        flood_ = std::thread([this] {
            std::vector<char> chunk(16 * 1024);
            std::uint64_t at = 0;
            while (!stop_) {
                for (std::size_t i = 0; i < chunk.size(); ++i)
                    chunk[i] = static_cast<char>(PatternByte(at + i));
                std::size_t done = 0;
                while (done < chunk.size() && !stop_) {
                    pollfd writable{master_, POLLOUT, 0};
                    if (::poll(&writable, 1, 20) <= 0) continue;
                    const ssize_t n = ::write(master_, chunk.data() + done, chunk.size() - done);
                    if (n > 0) done += static_cast<std::size_t>(n);
                }
                at += chunk.size();
            }
        });
    }
    void stop() {
        stop_ = true;
        if (flood_.joinable()) flood_.join();
    }

  private:
    int master_ = -1;
    std::string slave_;
    std::atomic<bool> stop_{false};
    std::thread flood_;
};

// A capture in Hexa with one telegram per line and its time, read back: every
// block is CR LF "P<port>->", a 14-character stamp ending in "->", then "(HH)"
// per byte. Each of the three is one piece of the file.
struct ReadBack {
    std::array<std::uint64_t, 2> bytes{};  // per port, each checked against the pattern
    std::string fault;                     // empty when the whole file fits the format
};

ReadBack ReadCapture(const std::string& content) {
    ReadBack out;
    std::size_t at = 0;
    auto fail = [&](const std::string& what) {
        out.fault = what + " at offset " + std::to_string(at) + " of " + std::to_string(content.size());
        return out;
    };
    while (at < content.size()) {
        if (content.size() - at < 6) return fail("a torn header");
        if (content.compare(at, 3, "\r\nP") != 0 || (content[at + 3] != '1' && content[at + 3] != '2') ||
            content.compare(at + 4, 2, "->") != 0)
            return fail("no header");
        const int port = content[at + 3] - '1';
        at += 6;
        if (at == content.size()) break;  // killed after the header
        if (content.size() - at < 14) return fail("a torn time stamp");
        if (content.compare(at + 12, 2, "->") != 0) return fail("no time stamp");
        at += 14;
        while (at < content.size() && content[at] == '(') {
            if (content.size() - at < 4) return fail("a torn byte");
            if (content[at + 3] != ')') return fail("no byte");
            const std::uint8_t value =
                static_cast<std::uint8_t>(std::stoi(content.substr(at + 1, 2), nullptr, 16));
            if (value != PatternByte(out.bytes[port])) return fail("a byte that was not fed");
            ++out.bytes[port];
            at += 4;
        }
    }
    return out;
}

// The drill's program capturing both flooded lines until it has shown `enough`
// bytes; then it gets the signal. Its wait status, and the capture read back.
struct Drilled {
    int status = -1;
    long long shown = 0;
    ReadBack capture;
};

void Drill(FloodedLine& com1, FloodedLine& com2, int signalNumber, Drilled& out) {
    ASSERT_FALSE(com1.slavePath().empty());
    ASSERT_FALSE(com2.slavePath().empty());
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("varelo-kill-drill-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string capture = (folder / "capture.txt").string();

    ChildProcess program(VARELO_CAPTURE_KILL_PROGRAM, {com1.slavePath(), com2.slavePath(), capture});
    const auto ready = program.readLine(std::chrono::seconds(30));
    ASSERT_EQ(ready, "ready") << program.errorOutput();
    com1.start();
    com2.start();

    // Signalled right after it said how much it had shown, once it has shown plenty.
    while (out.shown < 2'000'000) {
        const auto line = program.readLine(std::chrono::seconds(20));
        ASSERT_TRUE(line && line->rfind("shown ", 0) == 0) << "the program stopped reporting";
        out.shown = std::stoll(line->substr(6));
    }
    program.signal(signalNumber);
    const auto status = program.waitForExit(std::chrono::seconds(20));
    com1.stop();
    com2.stop();
    ASSERT_TRUE(status) << "still running";
    out.status = *status;

    std::ifstream file(capture, std::ios::binary);
    out.capture = ReadCapture(std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
    std::filesystem::remove_all(folder);
}

void ExpectEveryShownByteCaptured(const Drilled& drilled) {
    EXPECT_EQ(drilled.capture.fault, "");
    EXPECT_GE(static_cast<long long>(drilled.capture.bytes[0] + drilled.capture.bytes[1]), drilled.shown)
        << "every byte shown before the signal is in the capture";
    EXPECT_GT(drilled.capture.bytes[0], 0u);
    EXPECT_GT(drilled.capture.bytes[1], 0u);
}

TEST(CaptureKillDrill, TheCaptureOfAKilledProgramHoldsEveryShownBlockAndEndsOnAWholePiece) {
    FloodedLine com1, com2;
    Drilled drilled;
    ASSERT_NO_FATAL_FAILURE(Drill(com1, com2, SIGKILL, drilled));
    ASSERT_TRUE(WIFSIGNALED(drilled.status) && WTERMSIG(drilled.status) == SIGKILL);
    ExpectEveryShownByteCaptured(drilled);
}

TEST(CaptureKillDrill, AProgramEndedBySigtermClosesItsCaptureWholeAndLeavesItsPortsFree) {
    FloodedLine com1, com2;
    Drilled drilled;
    ASSERT_NO_FATAL_FAILURE(Drill(com1, com2, SIGTERM, drilled));
    EXPECT_TRUE(WIFEXITED(drilled.status) && WEXITSTATUS(drilled.status) == 0)
        << "ended in order, not killed: status " << drilled.status;
    ExpectEveryShownByteCaptured(drilled);
    ExpectLeftFree(com1.slavePath());
    ExpectLeftFree(com2.slavePath());
}

}  // namespace
}  // namespace varelo::test
