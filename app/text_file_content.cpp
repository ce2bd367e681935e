#include "app/text_file_content.h"

#include "util/system_files.h"

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace varelo {
namespace {

constexpr char CtrlZ = 0x1A;

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::optional<std::string> ReadTextFileContent(const std::string& path) {
    const Descriptor file(OpenForReadingBytes(path));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;

    // The text is the file as it was when chosen: a file that another program keeps
    // writing to would otherwise be read for as long as it grows.
    const auto size = static_cast<std::size_t>(info.st_size);
    std::string content;
    content.reserve(size);
    char chunk[64 * 1024];
    while (content.size() < size) {
        const ssize_t n = ::read(file.get(), chunk, std::min(sizeof chunk, size - content.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return content;
        const auto* end = static_cast<const char*>(std::memchr(chunk, CtrlZ, static_cast<std::size_t>(n)));
        if (end) {
            content.append(chunk, static_cast<std::size_t>(end - chunk));
            return content;
        }
        content.append(chunk, static_cast<std::size_t>(n));
    }
    return content;
}

}  // namespace varelo
