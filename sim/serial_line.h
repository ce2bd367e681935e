#pragma once

#include <sys/types.h>

#include <string>
#include <variant>

namespace varelo {

// A serial device held by the simulator: opened read-write, non-blocking, not
// as a controlling terminal, locked against every other process (flock), and
// set raw at the given rate. A device that refuses a line setting (a
// pseudo-terminal ignores the rate, a plain file has none) is still served.
class SerialLine {
  public:
    // The open line, or a one-line reason it cannot be had.
    static std::variant<SerialLine, std::string> open(const std::string& path, int baud);

    SerialLine(SerialLine&& other) noexcept;
    SerialLine& operator=(SerialLine&& other) noexcept;
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;
    ~SerialLine();

    int fd() const { return fd_; }

    // Whether `path` still names the device this line has open: it may have
    // disappeared, or now name another device (a link made anew).
    enum class PathState { Same, Gone, Other };
    PathState pathState(const std::string& path) const;

  private:
    SerialLine(int fd, dev_t device, ino_t inode) : fd_(fd), device_(device), inode_(inode) {}

    int fd_ = -1;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

}  // namespace varelo
