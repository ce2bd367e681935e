#include "run_time_errors.h"

#include <cerrno>

namespace varelo {
namespace {

std::string ioErrorText(int e) {
    switch (e) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return "Disk full";
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
