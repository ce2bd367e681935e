#include "util/system_files.h"

#include <fcntl.h>
#include <cerrno>
#include <io.h>

namespace varelo {

int OpenForReadingBytes(const std::string& path) {
    return ::_open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

// "N": the C run-time's own flag for a handle that child programs do not inherit.
std::FILE* CreateForWritingBytes(const std::string& path) {
    return std::fopen(path.c_str(), "wbN");
}

bool IsDiskFullError(int e) {
    return e == ENOSPC || e == EFBIG;
}

}  // namespace varelo
