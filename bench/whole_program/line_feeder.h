#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

namespace varelo::bench {

// The byte the feeder sends at position `index` of its stream: every value
// occurs, and a byte lost, doubled or moved shows as a mismatch from there on.
inline std::uint8_t PatternByte(std::uint64_t index) {
    return static_cast<std::uint8_t>(index + (index >> 8) * 3);
}

// What a feeder writes: the pattern above, or random bytes (noise on the line).
enum class FeedContent { Pattern, Noise };

// Writes into a line's far end as fast as the line takes it, from a thread of
// its own, until stopped.
class LineFeeder {
  public:
    explicit LineFeeder(int masterFd, FeedContent content = FeedContent::Pattern);
    ~LineFeeder();
    LineFeeder(const LineFeeder&) = delete;
    LineFeeder& operator=(const LineFeeder&) = delete;

    void stop();
    std::uint64_t written() const { return written_.load(std::memory_order_relaxed); }

  private:
    void run();

    int fd_;
    FeedContent content_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> written_{0};
    std::thread thread_;
};

}  // namespace varelo::bench
