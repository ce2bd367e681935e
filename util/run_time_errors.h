#pragma once

#include <stdexcept>
#include <string>

namespace varelo {

// Errors that end the handler that raised them and are reported by the
// application's standard error box (see platform/ui/handler_guard.h).
class RunTimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that is not an integer: "'<text>' is not a valid integer value".
class ConversionError : public RunTimeError {
public:
    explicit ConversionError(const std::string& text);
};

// A failed write, flush or close of a file: "Disk full", "File access denied" or
// "I/O error <errno>".
class IoError : public RunTimeError {
public:
    explicit IoError(int errnoValue);
    int errnoValue() const { return errno_; }

private:
    int errno_;
};

}  // namespace varelo
