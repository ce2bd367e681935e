#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace varelo::bench {

// Reads what the program sends at a line's far end, from a thread of its own,
// and notes when each piece arrived.
class LineReader {
  public:
    struct Piece {
        std::chrono::steady_clock::time_point at;
        std::string bytes;
    };

    explicit LineReader(int masterFd);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    void stop();
    // Everything read so far, in order (call after stop for the complete record).
    std::vector<Piece> pieces() const;

  private:
    void run();

    int fd_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Piece> pieces_;
    std::thread thread_;
};

}  // namespace varelo::bench
