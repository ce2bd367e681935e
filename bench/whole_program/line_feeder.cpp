#include "bench/whole_program/line_feeder.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <vector>

namespace varelo::bench {

LineFeeder::LineFeeder(int masterFd, FeedContent content)
    : fd_(masterFd), content_(content), thread_([this] { run(); }) {}

LineFeeder::~LineFeeder() {
    stop();
}

void LineFeeder::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void LineFeeder::run() {
    constexpr std::size_t kChunk = 16 * 1024;
    std::vector<std::uint8_t> chunk(kChunk);
    std::uint64_t next = 0;  // position of chunk[0] in the stream
    std::mt19937_64 noise(static_cast<std::uint64_t>(fd_));
    std::size_t pending = 0, offset = 0;
    while (!stop_.load(std::memory_order_relaxed)) {
        if (offset == pending) {
            next += pending;
            for (std::size_t i = 0; i < kChunk; ++i)
                chunk[i] = content_ == FeedContent::Noise ? static_cast<std::uint8_t>(noise())
                                                          : PatternByte(next + i);
            pending = kChunk;
            offset = 0;
        }
        pollfd writable{fd_, POLLOUT, 0};
        if (::poll(&writable, 1, 20) <= 0) continue;
        const ssize_t n = ::write(fd_, chunk.data() + offset, pending - offset);
        if (n > 0) {
            offset += static_cast<std::size_t>(n);
            written_.fetch_add(static_cast<std::uint64_t>(n), std::memory_order_relaxed);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        }
    }
}

}  // namespace varelo::bench
