#include "trace/text_sink.h"

#include "trace/file_removed.h"

#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>

namespace varelo {
namespace {

constexpr auto kGather = std::chrono::milliseconds(2);
constexpr std::size_t kGatherBytes = 256 * 1024;

}  // namespace

TextSink::TextSink(int fd, std::string name, bool ownsFd, std::function<void()> failed, std::size_t maxPending)
    : fd_(fd), name_(std::move(name)), ownsFd_(ownsFd), onFailure_(std::move(failed)), maxPending_(maxPending) {
    struct stat st {};
    regularFile_ = ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
    thread_ = std::thread([this] { run(); });
}

TextSink::~TextSink() { close(); }

bool TextSink::put(std::string text) {
    if (text.empty()) return true;
    bool wasIdle = false;
    {
        std::lock_guard lock(mutex_);
        if (failed_ || closing_ || pending_ + text.size() > maxPending_) return false;
        pending_ += text.size();
        queue_.push_back(std::move(text));
        wasIdle = writerIdle_ || pending_ >= kGatherBytes;
        writerIdle_ = false;
    }
    // A writer that is busy takes the new piece with the others when it is done.
    if (wasIdle) wake_.notify_one();
    return true;
}

void TextSink::close() {
    {
        std::lock_guard lock(mutex_);
        if (closing_) return;
        closing_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
    if (ownsFd_ && ::close(fd_) != 0 && !failed_) {
        failure_ = std::strerror(errno);
        failed_ = true;
    }
}

std::optional<std::string> TextSink::failure() const {
    if (!failed_) return std::nullopt;
    std::lock_guard lock(mutex_);
    return failure_;
}

void TextSink::run() {
    std::unique_lock lock(mutex_);
    std::deque<std::string> batch;
    for (;;) {
        writerIdle_ = queue_.empty();
        wake_.wait(lock, [this] { return closing_ || !queue_.empty(); });
        if (queue_.empty()) return;  // closing, and all written
        // A moment to gather more, so that a fast line costs a few writes a
        // millisecond rather than one wake-up a telegram.
        wake_.wait_for(lock, kGather, [this] { return closing_ || pending_ >= kGatherBytes; });
        batch.swap(queue_);
        lock.unlock();
        std::size_t size = 0;
        for (const std::string& piece : batch) size += piece.size();
        const bool written = writeWhole(batch);
        batch.clear();
        lock.lock();
        pending_ -= size;
        if (!written) {
            queue_.clear();
            pending_ = 0;
            lock.unlock();
            if (onFailure_) onFailure_();
            return;
        }
    }
}

// All that waits goes out in as few writes as it takes; a write that a full disk
// cuts short is taken back to the end of the last whole piece.
bool TextSink::writeWhole(const std::deque<std::string>& pieces) {
    constexpr std::size_t kMostParts = 512;
    std::size_t piece = 0;
    std::size_t offset = 0;  // into pieces[piece]
    while (piece < pieces.size()) {
        iovec parts[kMostParts];
        std::size_t count = 0;
        for (std::size_t i = piece; i < pieces.size() && count < kMostParts; ++i) {
            const std::size_t skip = i == piece ? offset : 0;
            parts[count++] = {const_cast<char*>(pieces[i].data()) + skip, pieces[i].size() - skip};
        }
        const ssize_t n = ::writev(fd_, parts, static_cast<int>(count));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            if (regularFile_ && offset > 0) {
                const off_t at = ::lseek(fd_, 0, SEEK_CUR);
                if (at >= 0 && ::ftruncate(fd_, at - static_cast<off_t>(offset)) == 0) {
                    ::lseek(fd_, at - static_cast<off_t>(offset), SEEK_SET);
                }
            }
            std::lock_guard lock(mutex_);
            failure_ = std::strerror(error);
            failed_ = true;
            return false;
        }
        if (regularFile_ && FileRemoved(fd_)) {
            std::lock_guard lock(mutex_);
            failure_ = kFileRemoved;
            failed_ = true;
            return false;
        }
        for (auto left = static_cast<std::size_t>(n); left > 0;) {
            const std::size_t take = std::min(left, pieces[piece].size() - offset);
            left -= take;
            offset += take;
            if (offset == pieces[piece].size()) {
                ++piece;
                offset = 0;
            }
        }
    }
    return true;
}

}  // namespace varelo
