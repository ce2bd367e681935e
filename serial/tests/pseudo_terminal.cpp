#include "serial/tests/pseudo_terminal.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace varelo::test {

PseudoTerminal::PseudoTerminal() {
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    const char* name = ::grantpt(fd) == 0 && ::unlockpt(fd) == 0 ? ::ptsname(fd) : nullptr;
    if (!name) {
        ::close(fd);
        return;
    }
    master_ = fd;
    slavePath_ = name;
}

PseudoTerminal::~PseudoTerminal() {
    closeMaster();
}

std::size_t PseudoTerminal::writeSome(std::string_view bytes) {
    std::size_t sent = 0;
    for (int idle = 0; sent < bytes.size() && idle < 1000;) {
        const ssize_t n = ::write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            idle = 0;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        } else {
            ++idle;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    return sent;
}

std::string PseudoTerminal::readAvailable() {
    std::string out;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n <= 0) return out;
        out.append(chunk, static_cast<std::size_t>(n));
    }
}

termios2 PseudoTerminal::line() const {
    // The master end reads and writes the slave end's line settings.
    termios2 t{};
    ::ioctl(master_, TCGETS2, &t);
    return t;
}

void PseudoTerminal::closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

int OpenDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

bool MarkedExclusive(const std::string& device) {
    // Without administrator rights the open itself is refused.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == EBUSY;
    int exclusive = 0;
    ::ioctl(fd, TIOCGEXCL, &exclusive);
    ::close(fd);
    return exclusive != 0;
}

}  // namespace varelo::test
