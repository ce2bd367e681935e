#include "trace/text_sink.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace varelo {

TextSink::TextSink(int fd, std::string name, bool ownsFd, std::size_t maxPending)
    : fd_(fd), name_(std::move(name)), ownsFd_(ownsFd), maxPending_(maxPending) {
    struct stat st {};
    regularFile_ = ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
    thread_ = std::thread([this] { run(); });
}

TextSink::~TextSink() { close(); }

bool TextSink::put(std::string text) {
    if (text.empty()) return true;
    {
        std::lock_guard lock(mutex_);
        if (failed_ || closing_ || pending_ + text.size() > maxPending_) return false;
        pending_ += text.size();
        queue_.push_back(std::move(text));
    }
    wake_.notify_one();
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
    for (;;) {
        wake_.wait(lock, [this] { return closing_ || !queue_.empty(); });
        if (queue_.empty()) return;  // closing, and all written
        std::string text = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        const bool written = writeWhole(text);
        lock.lock();
        pending_ -= text.size();
        if (!written) {
            queue_.clear();
            pending_ = 0;
            return;
        }
    }
}

bool TextSink::writeWhole(const std::string& text) {
    const off_t before = regularFile_ ? ::lseek(fd_, 0, SEEK_CUR) : -1;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        const int error = n < 0 ? errno : ENOSPC;
        if (before >= 0 && done > 0 && ::ftruncate(fd_, before) == 0) ::lseek(fd_, before, SEEK_SET);
        std::lock_guard lock(mutex_);
        failure_ = std::strerror(error);
        failed_ = true;
        return false;
    }
    return true;
}

}  // namespace varelo
