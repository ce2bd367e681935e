#include "bench/whole_program/line_reader.h"

#include <poll.h>
#include <unistd.h>

namespace varelo::bench {

LineReader::LineReader(int masterFd) : fd_(masterFd), thread_([this] { run(); }) {}

LineReader::~LineReader() {
    stop();
}

void LineReader::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

std::vector<LineReader::Piece> LineReader::pieces() const {
    std::lock_guard lock(mutex_);
    return pieces_;
}

void LineReader::run() {
    char buffer[4096];
    while (!stop_.load(std::memory_order_relaxed)) {
        pollfd readable{fd_, POLLIN, 0};
        if (::poll(&readable, 1, 20) <= 0) continue;
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        const auto at = std::chrono::steady_clock::now();
        if (n <= 0) {
            ::usleep(2000);  // the program has closed its end for now
            continue;
        }
        std::lock_guard lock(mutex_);
        pieces_.push_back({at, std::string(buffer, static_cast<std::size_t>(n))});
    }
}

}  // namespace varelo::bench
