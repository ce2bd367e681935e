#include "util/system_files.h"

#include <fcntl.h>
#include <cerrno>

namespace varelo {

int OpenForReadingBytes(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

std::FILE* CreateForWritingBytes(const std::string& path) {
    return std::fopen(path.c_str(), "wbe");
}

bool IsDiskFullError(int e) {
    return e == ENOSPC || e == EDQUOT || e == EFBIG;
}

}  // namespace varelo
