#include "trace/run_signals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace varelo {
namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR1);  // not a stop: the MODBUS statistics so far
    return set;
}

}  // namespace

RunSignals::RunSignals(std::function<void(int)> stop) : stop_(std::move(stop)) {}

RunSignals::~RunSignals() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
    const sigset_t set = StopSet();
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

std::optional<std::string> RunSignals::start() {
    ::signal(SIGPIPE, SIG_IGN);
    const sigset_t set = StopSet();
    if (::sigprocmask(SIG_BLOCK, &set, nullptr) != 0) return std::string("signals: ") + std::strerror(errno);
    fd_ = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0) return std::string("signals: ") + std::strerror(errno);
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        signalfd_siginfo info{};
        while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) stop_(static_cast<int>(info.ssi_signo));
    });
    return std::nullopt;
}

}  // namespace varelo
