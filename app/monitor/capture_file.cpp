#include "app/monitor/capture_file.h"

#include "util/system_files.h"
#include "util/run_time_errors.h"

#include <sys/stat.h>

#include <cerrno>

namespace varelo {

CaptureFile::~CaptureFile() {
    if (file_) std::fclose(file_);
}

bool CaptureFile::open(const std::string& path) {
    close();
    file_ = CreateForWritingBytes(path);
    // Unbuffered, each piece goes to the system in one write: a kill can fall only
    // between two pieces, never inside one.
    if (file_) std::setvbuf(file_, nullptr, _IONBF, 0);
    return file_ != nullptr;
}

void CaptureFile::write(std::string_view piece) {
    if (!file_) return;
    errno = 0;
    if (std::fwrite(piece.data(), 1, piece.size(), file_) != piece.size() || std::fflush(file_) != 0) {
        const int e = errno ? errno : EIO;
        std::clearerr(file_);
        throw IoError(e);
    }
    // Writes to a file whose folder was removed still succeed, into a file that no
    // one can read any more: that is reported as a file that is gone.
    struct stat info {};
    if (::fstat(::fileno(file_), &info) == 0 && info.st_nlink == 0) throw IoError(ENOENT);
}

void CaptureFile::close() {
    if (!file_) return;
    std::FILE* f = file_;
    file_ = nullptr;
    errno = 0;
    if (std::fclose(f) != 0) throw IoError(errno ? errno : EIO);
}

}  // namespace varelo
