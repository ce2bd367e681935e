#include "sim/line_loop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

namespace varelo {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kGoneLineRetry{100};
// While this much output waits for the far end to read it, nothing more is read:
// a loop-back whose peer does not read stops taking bytes instead of hoarding them.
constexpr std::size_t kMostWaitingOutput = 64 * 1024;
constexpr int kFullDeviceWaitMs = 10;

SimInstant clockNow() {
    return std::chrono::steady_clock::now();
}

// Milliseconds until the instant, rounded up so the wait never ends early; -1 for none.
int pollTimeout(std::optional<SimInstant> wake, SimInstant now) {
    if (!wake) return -1;
    if (*wake <= now) return 0;
    const auto wait = std::chrono::ceil<milliseconds>(*wake - now).count();
    return static_cast<int>(std::min<long long>(wait, 60'000));
}

bool stopRequested(int stopFd, int timeoutMs) {
    pollfd stop{stopFd, POLLIN, 0};
    return poll(&stop, 1, timeoutMs) > 0;
}

enum class Progress { Going, LineGone, Stop, Failed };

class LineServer {
  public:
    LineServer(SerialLine line, LineRole& role, int stopFd)
        : line_(std::move(line)), role_(role), stopFd_(stopFd) {}

    // One round: tick, send what is due, wait for bytes or time, read.
    Progress serveOnce() {
        const SimInstant now = clockNow();
        role_.tick(now);
        if (unsent_.empty()) unsent_ = role_.takeDue(now);
        if (!unsent_.empty() && !writeSome()) return Progress::LineGone;

        const bool roomForInput = role_.pendingOutput() + unsent_.size() < kMostWaitingOutput;
        pollfd fds[2] = {
            {line_.fd(), static_cast<short>((roomForInput ? POLLIN : 0) | (unsent_.empty() ? 0 : POLLOUT)),
             0},
            {stopFd_, POLLIN, 0}};
        int timeout = pollTimeout(role_.nextWakeUp(), now);
        // Bytes due but held back by a full device must not make the wait a spin.
        if (!unsent_.empty() && timeout >= 0) timeout = std::max(timeout, kFullDeviceWaitMs);
        if (poll(fds, 2, timeout) < 0) return errno == EINTR ? Progress::Going : Progress::Failed;
        if (fds[1].revents != 0) return Progress::Stop;
        if (fds[0].revents & POLLIN) return readSome();
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return Progress::LineGone;
        return Progress::Going;
    }

    void takeUp(SerialLine line) {
        line_ = std::move(line);
        unsent_.clear();
    }
    const SerialLine& line() const { return line_; }

  private:
    bool writeSome() {
        const ssize_t written = write(line_.fd(), unsent_.data(), unsent_.size());
        if (written > 0) unsent_.erase(0, static_cast<std::size_t>(written));
        return written >= 0 || errno == EAGAIN || errno == EINTR;
    }

    Progress readSome() {
        char bytes[4096];
        const ssize_t count = read(line_.fd(), bytes, sizeof bytes);
        if (count > 0) {
            role_.receive(std::string_view(bytes, static_cast<std::size_t>(count)), clockNow());
            return Progress::Going;
        }
        // 0 or EIO: the far end of a pseudo-terminal has closed.
        return count < 0 && (errno == EAGAIN || errno == EINTR) ? Progress::Going : Progress::LineGone;
    }

    SerialLine line_;
    LineRole& role_;
    int stopFd_;
    std::string unsent_;  // taken from the role, not yet accepted by the device
};

}  // namespace

int RunLine(const std::string& path, int baud, SerialLine line, LineRole& role, int stopFd) {
    LineServer server(std::move(line), role, stopFd);
    for (;;) {
        const Progress progress = server.serveOnce();
        if (progress == Progress::Stop) return 0;
        if (progress == Progress::Failed) {
            std::perror("varelo-sim: waiting for the line");
            return 1;
        }
        if (progress == Progress::Going) continue;
        if (stopRequested(stopFd, static_cast<int>(kGoneLineRetry.count()))) return 0;
        switch (server.line().pathState(path)) {
            case SerialLine::PathState::Gone:
                std::fprintf(stderr, "varelo-sim: %s has gone away; stopping\n", path.c_str());
                return 0;
            case SerialLine::PathState::Other: {
                auto reopened = SerialLine::open(path, baud);
                if (auto* taken = std::get_if<SerialLine>(&reopened)) server.takeUp(std::move(*taken));
                break;
            }
            case SerialLine::PathState::Same:
                break;
        }
    }
}

}  // namespace varelo
