#pragma once

// The lock files by which serial terminals on one machine keep out of each other's
// ports: a file "LCK..<device>" in /var/lock that holds the owner's process id.
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace varelo {

inline constexpr const char* kUucpLockDir = "/var/lock";

// The lock file's name for a device path: "LCK.." and the path below /dev with any
// further "/" as "_" (/dev/ttyUSB0: "LCK..ttyUSB0", /dev/pts/3: "LCK..pts_3"); a
// device outside /dev goes by its last component.
std::string UucpLockName(std::string_view devicePath);

// What a lock file holds: the process id right-aligned in ten characters, and a newline.
std::string UucpLockContent(pid_t pid);

// The process a lock file names: a positive decimal number, spaces and line ends
// around it allowed; nothing when it names none (an empty file, text, a binary id).
std::optional<pid_t> UucpLockOwner(std::string_view content);

// The lock file of one open device, removed when released or destroyed.
class UucpLock {
  public:
    UucpLock() = default;
    ~UucpLock() { release(); }
    UucpLock(UucpLock&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    UucpLock& operator=(UucpLock&&) = delete;
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;

    // Writes the lock file for the device (links followed to the real device) in
    // lockDir. False when a running process holds the device's lock. A lock left by a
    // process that has ended is removed first. When the folder takes no file of ours
    // (no right to write there), the device goes without one and that is true too.
    bool acquire(const std::string& devicePath, const std::string& lockDir = kUucpLockDir);
    void release();

    // The lock file written; empty when none.
    const std::string& path() const { return path_; }

  private:
    bool take(const std::string& lockPath, const std::string& draft);

    std::string path_;
};

}  // namespace varelo
