#include "serial/device_openers.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace varelo {
namespace {

// A name that is a whole decimal number (a process id, a descriptor number).
bool Number(const char* name, long* value) {
    char* end = nullptr;
    errno = 0;
    *value = std::strtol(name, &end, 10);
    return *name != '\0' && *end == '\0' && errno == 0;
}

class Directory {
  public:
    explicit Directory(int fd) : dir_(fd >= 0 ? ::fdopendir(fd) : nullptr) {
        if (fd >= 0 && !dir_) ::close(fd);
    }
    ~Directory() {
        if (dir_) ::closedir(dir_);
    }
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;
    explicit operator bool() const { return dir_ != nullptr; }
    int fd() const { return ::dirfd(dir_); }
    const dirent* next() { return ::readdir(dir_); }

  private:
    DIR* dir_;
};

enum class Opened { no, yes, unknown };

// Whether one process has the device open (ours: other than through `ownFd`).
Opened ProcessHasOpen(int procFd, const char* pid, dev_t device, long ownFd) {
    Directory fds(::openat(procFd, (std::string(pid) + "/fd").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // A process that has ended meanwhile holds nothing; one whose descriptors we
    // may not see may hold anything.
    if (!fds) return errno == ENOENT || errno == ESRCH ? Opened::no : Opened::unknown;
    while (const dirent* entry = fds.next()) {
        long number = 0;
        if (!Number(entry->d_name, &number) || number == ownFd) continue;
        struct stat st {};
        // Each entry links to the file the descriptor is open on.
        if (::fstatat(fds.fd(), entry->d_name, &st, 0) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == device)
            return Opened::yes;
    }
    return Opened::no;
}

}  // namespace

bool DeviceOpenElsewhere(int fd) {
    struct stat own {};
    if (::fstat(fd, &own) != 0 || !S_ISCHR(own.st_mode)) return true;
    Directory proc(::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!proc) return true;
    const long self = static_cast<long>(::getpid());
    while (const dirent* entry = proc.next()) {
        long pid = 0;
        if (!Number(entry->d_name, &pid)) continue;
        if (ProcessHasOpen(proc.fd(), entry->d_name, own.st_rdev, pid == self ? fd : -1) != Opened::no)
            return true;
    }
    return false;
}

}  // namespace varelo
