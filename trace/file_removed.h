#pragma once

#include <sys/stat.h>

namespace varelo {

// Writes into a file whose folder was removed still succeed, into a file nobody
// will ever see again; the file counts as failed from then on.
inline constexpr const char* kFileRemoved = "the file has been removed (with its folder?)";

inline bool FileRemoved(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && info.st_nlink == 0;
}

}  // namespace varelo
