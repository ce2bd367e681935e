#include "serial/posix_serial_device.h"

#include "serial/byte_ring.h"
#include "serial/device_openers.h"
#include "serial/termios2_line.h"
#include "serial/uucp_lock.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <cerrno>

namespace varelo {
namespace {

class PosixSerialDevice final : public SerialDevice {
  public:
    PosixSerialDevice(int fd, UucpLock lock)
        : fd_(fd),
          lock_(std::move(lock)),
          staging_(kSerialStagingBytes),
          notifier_(fd, QSocketNotifier::Read) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { pullFromKernel(); });
    }
    ~PosixSerialDevice() override {
        notifier_.setEnabled(false);
        // Output the line holds back (CTS low, an XOFF received) would keep the close
        // waiting for it to drain, up to half a minute on a serial port: it is dropped.
        ::ioctl(fd_, TCFLSH, TCOFLUSH);
        // A pseudo-terminal keeps the exclusive mark after its last close; the next
        // program to open it, without administrator rights, would find it busy.
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }

    bool setLine(const DeviceControl& dc) override { return SetTtyLine(fd_, dc); }

    bool purge(bool input, bool output) override {
        if (!input && !output) return true;
        if (input) staging_.clear();
        const int queues = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
        const bool flushed = ::ioctl(fd_, TCFLSH, queues) == 0;
        resumeReading();
        return flushed;
    }

    bool setQueueSizes(std::uint32_t, std::uint32_t) override { return true; }

    std::uint32_t inputWaiting() override {
        pullFromKernel();
        return static_cast<std::uint32_t>(staging_.size());
    }

    std::uint32_t outputWaiting() override {
        int count = 0;
        return ::ioctl(fd_, TIOCOUTQ, &count) == 0 && count > 0 ? static_cast<std::uint32_t>(count) : 0;
    }

    std::optional<TModemLines> modemLines() override {
        int status = 0;
        if (::ioctl(fd_, TIOCMGET, &status) != 0) return std::nullopt;
        TModemLines lines;
        lines[mlCTS] = (status & TIOCM_CTS) != 0;
        lines[mlDSR] = (status & TIOCM_DSR) != 0;
        lines[mlRING] = (status & TIOCM_RI) != 0;
        lines[mlRLSD] = (status & TIOCM_CD) != 0;
        return lines;
    }

    std::uint32_t read(void* data, std::uint32_t size) override {
        const auto count = static_cast<std::uint32_t>(staging_.take(data, size));
        resumeReading();
        return count;
    }

    bool watchInput(std::function<void()> arrived) override {
        arrived_ = std::move(arrived);
        return true;
    }

    bool takeBlocks(KernelBlockTaker taker) override {
        taker_ = std::move(taker);
        return true;
    }

    std::optional<std::uint32_t> write(const void* data, std::uint32_t size) override {
        for (;;) {
            const ssize_t n = ::write(fd_, data, size);
            if (n >= 0) return static_cast<std::uint32_t>(n);
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return 0u;
            return std::nullopt;
        }
    }

  private:
    // Moves what the kernel holds into the staging buffer, at most kPullBytes at a
    // time. A fast sender refills the tty while it is being read, so reading until
    // it is empty could hold the event loop for tens of milliseconds; what is left
    // keeps the descriptor readable and is taken at the next pass of the loop.
    void pullFromKernel() {
        if (pullSome() > 0 && arrived_) arrived_();
    }

    // The count of bytes moved.
    std::size_t pullSome() {
        constexpr std::size_t kPullBytes = 64 * 1024;
        std::size_t pulled = 0;
        while (!farEndGone_ && pulled < kPullBytes) {
            const std::span<std::uint8_t> room = staging_.writable();
            if (room.empty()) {
                notifier_.setEnabled(false);  // full: leave the rest to the kernel
                break;
            }
            const ssize_t n = ::read(fd_, room.data(), room.size());
            if (n > 0 && taker_.block) {
                // The staging buffer's room serves as the read's scratch space only.
                taker_.block(KernelStampNow(), room.first(static_cast<std::size_t>(n)));
                pulled += static_cast<std::size_t>(n);
            } else if (n > 0) {
                staging_.commit(static_cast<std::size_t>(n));
                pulled += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                break;
            } else {
                // End of file or a hard error: the far end has gone (a closed
                // pseudo-terminal, an unplugged adapter). The descriptor would stay
                // readable for ever, so stop watching it.
                farEndGone_ = true;
                notifier_.setEnabled(false);
                if (taker_.gone) taker_.gone();
            }
        }
        return pulled;
    }

    void resumeReading() {
        if (!farEndGone_ && !staging_.full() && !notifier_.isEnabled()) notifier_.setEnabled(true);
    }

    int fd_;
    UucpLock lock_;
    ByteRing staging_;
    QSocketNotifier notifier_;
    std::function<void()> arrived_;
    KernelBlockTaker taker_;
    bool farEndGone_ = false;
};

// True when another opener has marked the tty exclusive and still has it open. The
// kernel keeps out only openers without administrator rights; the mark is asked for
// so that it holds for all. A pseudo-terminal keeps its mark after its last close, so
// a mark that no running process stands behind (its program was killed) binds nobody.
bool HeldExclusive(int fd) {
    int exclusive = 0;
    return ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0 && DeviceOpenElsewhere(fd);
}

}  // namespace

std::unique_ptr<SerialDevice> OpenPosixSerialDevice(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    // flock holds against every other opener, root included; the lock file against
    // programs that look for one; TIOCEXCL keeps out openers without administrator
    // rights that do neither. The exclusive mark comes last: it outlives a close.
    UucpLock lock;
    if (!::isatty(fd) || HeldExclusive(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || !lock.acquire(path) ||
        ::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixSerialDevice>(fd, std::move(lock));
}

}  // namespace varelo
