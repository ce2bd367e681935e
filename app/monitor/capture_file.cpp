#include "app/monitor/capture_file.h"

#include "util/run_time_errors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace varelo {
namespace {

// A reader that leaves a capture pipe would otherwise end the program with SIGPIPE;
// ignored, the write fails with EPIPE and is reported like any other failed write.
void ignoreBrokenPipes() {
    static const bool ignored = std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
    (void)ignored;
}

// Writes as much of `bytes` as the file takes now: all of it, except that a full
// pipe takes only part or nothing. Raises IoError on a failure.
std::size_t writeWhatFits(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        } else {
            throw IoError(n < 0 ? errno : EIO);
        }
    }
    return done;
}

}  // namespace

CaptureFile::~CaptureFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool CaptureFile::open(const std::string& path) {
    close();
    ignoreBrokenPipes();
    // Non-blocking, so that a named pipe without a reader fails (ENXIO) instead of
    // holding the window in the open, and a full pipe never holds it in a write.
    // Each piece goes to the system in one write: a kill can fall only between two
    // pieces, never inside one.
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    backlog_.clear();
    return fd_ >= 0;
}

void CaptureFile::write(std::string_view piece) {
    if (fd_ < 0) return;
    if (!backlog_.empty()) writeBacklog();
    if (backlog_.empty()) piece.remove_prefix(writeWhatFits(fd_, piece));
    if (!piece.empty()) {
        if (backlog_.size() + piece.size() > BacklogLimit) throw IoError(EAGAIN);
        backlog_.append(piece);
    }
    if (!backlog_.empty() && onBacklog_) onBacklog_();
    // Writes to a file whose folder was removed still succeed, into a file that no
    // one can read any more: that is reported as a file that is gone.
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 0) throw IoError(ENOENT);
}

void CaptureFile::writeBacklog() {
    if (fd_ < 0 || backlog_.empty()) return;
    backlog_.erase(0, writeWhatFits(fd_, backlog_));
}

void CaptureFile::close() {
    if (fd_ < 0) return;
    int error = 0;
    try {
        writeBacklog();
        if (!backlog_.empty()) error = EAGAIN;
    } catch (const IoError& e) {
        error = e.errnoValue();
    }
    backlog_.clear();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) throw IoError(error);
}

}  // namespace varelo
