#include "sim/serial_line.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace varelo {

namespace {

speed_t speedCode(int baud) {
    switch (baud) {
        case 50:
            return B50;
        case 75:
            return B75;
        case 110:
            return B110;
        case 134:
            return B134;
        case 150:
            return B150;
        case 200:
            return B200;
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 1800:
            return B1800;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        case 460800:
            return B460800;
        case 921600:
            return B921600;
        default:
            return B0;
    }
}

// Raw 8-bit bytes both ways at the rate, where the device takes it; every
// failure here is the device declining a setting, and the line is served anyway.
void setRaw(int fd, int baud) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return;
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (const speed_t code = speedCode(baud); code != B0) cfsetspeed(&settings, code);
    tcsetattr(fd, TCSANOW, &settings);
}

}  // namespace

std::variant<SerialLine, std::string> SerialLine::open(const std::string& path, int baud) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return "cannot open " + path + ": " + std::strerror(errno);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) return path + " is in use by another program";
        return "cannot lock " + path + ": " + std::strerror(error);
    }
    struct stat status {};
    fstat(fd, &status);
    setRaw(fd, baud);
    return SerialLine(fd, status.st_dev, status.st_ino);
}

SerialLine::SerialLine(SerialLine&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), device_(other.device_), inode_(other.inode_) {}

SerialLine& SerialLine::operator=(SerialLine&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        device_ = other.device_;
        inode_ = other.inode_;
    }
    return *this;
}

SerialLine::~SerialLine() {
    if (fd_ >= 0) ::close(fd_);
}

SerialLine::PathState SerialLine::pathState(const std::string& path) const {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return PathState::Gone;
    return status.st_dev == device_ && status.st_ino == inode_ ? PathState::Same : PathState::Other;
}

}  // namespace varelo
