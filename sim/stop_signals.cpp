#include "sim/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace varelo {

namespace {

// A signal handler can reach nothing but a global; this one is written once
// before the handlers are installed and read only by them.
volatile int stopWriteEnd = -1;

extern "C" void onStopSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(stopWriteEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

StopSignals::StopSignals() {
    int ends[2];
    if (pipe(ends) != 0) throw std::runtime_error("cannot create the stop pipe");
    for (int end : ends) {
        fcntl(end, F_SETFD, FD_CLOEXEC);
        fcntl(end, F_SETFL, O_NONBLOCK);
    }
    readEnd_ = ends[0];
    stopWriteEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

StopSignals::~StopSignals() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    close(readEnd_);
    close(stopWriteEnd);
    stopWriteEnd = -1;
}

}  // namespace varelo
