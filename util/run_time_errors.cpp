#include "run_time_errors.h"

#include "util/system_files.h"

#include <cerrno>

namespace varelo {
namespace {

std::string ioErrorText(int e) {
    if (IsDiskFullError(e)) return "Disk full";
    switch (e) {
        case EACCES:
        case EPERM:
        case EROFS:
            return "File access denied";
        default:
            return "I/O error " + std::to_string(e);
    }
}

}  // namespace

ConversionError::ConversionError(const std::string& text)
    : RunTimeError("'" + text + "' is not a valid integer value") {}

IoError::IoError(int errnoValue) : RunTimeError(ioErrorText(errnoValue)), errno_(errnoValue) {}

}  // namespace varelo
