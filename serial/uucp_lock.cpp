#include "serial/uucp_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace varelo {
namespace {

constexpr std::string_view kDevPrefix = "/dev/";
constexpr std::string_view kBlanks = " \t\r\n";

std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string resolved = real;
    std::free(real);
    return resolved;
}

// What the lock file at a path names; nothing when it is missing or names no process.
std::optional<pid_t> OwnerAt(const std::string& path, bool* missing = nullptr) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (missing) *missing = fd < 0 && errno == ENOENT;
    if (fd < 0) return std::nullopt;
    char content[64];
    const ssize_t n = ::read(fd, content, sizeof content);
    ::close(fd);
    return n > 0 ? UucpLockOwner(std::string_view(content, static_cast<std::size_t>(n))) : std::nullopt;
}

enum class Holder { none, running, ended };

Holder LockHolder(const std::string& lockPath) {
    bool missing = false;
    const std::optional<pid_t> owner = OwnerAt(lockPath, &missing);
    if (missing) return Holder::none;
    // A lock that names no process may be one being written just now, or one in a
    // form we do not know: it holds.
    if (!owner) return Holder::running;
    return ::kill(*owner, 0) == 0 || errno != ESRCH ? Holder::running : Holder::ended;
}

// Our lock written whole under a passing name in the folder, so that no other
// program ever reads it half-written; empty when the folder takes no file of ours.
std::string WriteDraft(const std::string& lockDir) {
    std::string draft = lockDir + "/LTMP.XXXXXX";
    const int fd = ::mkstemp(draft.data());
    if (fd < 0) return {};
    const std::string content = UucpLockContent(::getpid());
    const bool written = ::fchmod(fd, 0644) == 0 &&
                         ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    ::close(fd);
    if (written) return draft;
    ::unlink(draft.c_str());
    return {};
}

}  // namespace

std::string UucpLockName(std::string_view devicePath) {
    std::string_view device = devicePath;
    if (device.starts_with(kDevPrefix)) {
        device.remove_prefix(kDevPrefix.size());
    } else if (const auto slash = device.rfind('/'); slash != std::string_view::npos) {
        device.remove_prefix(slash + 1);
    }
    std::string name = "LCK..";
    for (char c : device) name += c == '/' ? '_' : c;
    return name;
}

std::string UucpLockContent(pid_t pid) {
    char content[16];
    std::snprintf(content, sizeof content, "%10d\n", static_cast<int>(pid));
    return content;
}

std::optional<pid_t> UucpLockOwner(std::string_view content) {
    const auto first = content.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    const std::string_view digits = content.substr(first, content.find_last_not_of(kBlanks) + 1 - first);
    long long pid = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        pid = pid * 10 + (c - '0');
        if (pid > INT_MAX) return std::nullopt;
    }
    if (pid == 0) return std::nullopt;
    return static_cast<pid_t>(pid);
}

bool UucpLock::acquire(const std::string& devicePath, const std::string& lockDir) {
    release();
    const std::string draft = WriteDraft(lockDir);
    const bool free = take(lockDir + "/" + UucpLockName(RealPath(devicePath)), draft);
    if (!draft.empty()) ::unlink(draft.c_str());
    return free;
}

bool UucpLock::take(const std::string& lockPath, const std::string& draft) {
    // Two rounds: another program may take the lock between our look and our link.
    for (int round = 0; round < 2; ++round) {
        switch (LockHolder(lockPath)) {
            case Holder::running:
                return false;
            case Holder::ended:
                // A lock we may not remove binds nobody: its process has ended.
                if (::unlink(lockPath.c_str()) != 0 && errno != ENOENT) return true;
                break;
            case Holder::none:
                break;
        }
        if (draft.empty()) return true;
        if (::link(draft.c_str(), lockPath.c_str()) == 0) {
            path_ = lockPath;
            return true;
        }
        if (errno != EEXIST) return true;
    }
    return false;
}

void UucpLock::release() {
    if (path_.empty()) return;
    // Only while it is still ours: a file another program wrote in its place stays.
    if (OwnerAt(path_) == ::getpid()) ::unlink(path_.c_str());
    path_.clear();
}

}  // namespace varelo
