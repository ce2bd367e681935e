#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace varelo {

// One destination of text (the screen, an output file), written by a thread of its
// own so that a slow terminal never holds up the reading of the lines. Each piece
// is written whole; a piece that a full disk cuts short is taken back from a file,
// so the file ends with whole pieces only. When more than `maxPending` bytes wait,
// further pieces are refused, and the caller counts what it could not show.
class TextSink {
  public:
    // `failed` is called once, on the sink's own thread, when a write fails.
    TextSink(int fd, std::string name, bool ownsFd, std::function<void()> failed = {},
             std::size_t maxPending = 32u << 20);
    ~TextSink();
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    // False when the piece was refused (too much waiting, or the sink has failed).
    bool put(std::string text);
    // Writes everything that waits, then stops the thread.
    void close();

    // Why writing failed, once it has ("No space left on device").
    std::optional<std::string> failure() const;
    bool failed() const { return failed_.load(std::memory_order_relaxed); }
    const std::string& name() const { return name_; }

  private:
    void run();
    bool writeWhole(const std::deque<std::string>& pieces);

    int fd_;
    std::string name_;
    bool ownsFd_;
    bool regularFile_ = false;
    std::function<void()> onFailure_;
    std::size_t maxPending_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    std::size_t pending_ = 0;
    bool closing_ = false;
    bool writerIdle_ = false;
    std::atomic<bool> failed_{false};
    std::string failure_;
    std::thread thread_;
};

}  // namespace varelo
