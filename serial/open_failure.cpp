#include "serial/open_failure.h"

#include "serial/uucp_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace varelo {
namespace {

std::string ErrnoText(int error) {
    switch (error) {
        case ENOENT:
            return "no such device";
        case EACCES:
        case EPERM:
            return "permission denied (serial devices belong to the group dialout)";
        case EBUSY:
            return "held by another program";
        default:
            return std::strerror(error);
    }
}

// The process that holds the device's lock file, if it is running.
std::string LockHolder(const std::string& path) {
    std::error_code error;
    const std::string device = std::filesystem::canonical(path, error).string();
    const std::string lockPath = std::string(kUucpLockDir) + "/" + UucpLockName(error ? path : device);
    std::ifstream in(lockPath);
    if (!in) return {};
    std::stringstream content;
    content << in.rdbuf();
    const std::optional<pid_t> owner = UucpLockOwner(content.str());
    if (!owner || (::kill(*owner, 0) != 0 && errno == ESRCH)) return {};
    return "held by process " + std::to_string(*owner) + " (lock file " + lockPath + ")";
}

}  // namespace

std::string OpenFailureReason(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return ErrnoText(errno);
    if (S_ISDIR(st.st_mode)) return "a folder, not a serial line";
    if (!S_ISCHR(st.st_mode)) return "a file, not a serial line";
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return ErrnoText(errno);
    std::string reason;
    int exclusive = 0;
    if (!::isatty(fd)) {
        reason = "not a serial line";
    } else if ((::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        reason = "held by another program";
    } else {
        reason = LockHolder(path);
        if (reason.empty()) reason = "the device refused to be opened for exclusive use";
    }
    ::close(fd);
    return reason;
}

}  // namespace varelo
