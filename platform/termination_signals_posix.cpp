#include "platform/termination_signals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <optional>

namespace varelo {
namespace {

constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe that carries each signal from its handler to the
// event loop: a handler may do little more than write(2).
std::atomic<int> signalPipe{-1};

void onSignal(int signalNumber) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    const int fd = signalPipe.load(std::memory_order_relaxed);
    if (fd >= 0) (void)::write(fd, &byte, 1);  // a full pipe already holds a request
    errno = savedErrno;
}

}  // namespace

struct TerminationSignals::Watch {
    int readEnd = -1;
    int writeEnd = -1;
    std::optional<QSocketNotifier> notifier;
    std::array<struct sigaction, kSignals.size()> previous{};
    std::array<bool, kSignals.size()> caught{};
};

TerminationSignals::TerminationSignals(std::function<void()> requested, QObject* parent)
    : QObject(parent), watch_(std::make_unique<Watch>()) {
    int ends[2];
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) return;
    watch_->readEnd = ends[0];
    watch_->writeEnd = ends[1];
    signalPipe.store(watch_->writeEnd);

    watch_->notifier.emplace(watch_->readEnd, QSocketNotifier::Read);
    connect(&*watch_->notifier, &QSocketNotifier::activated, this, [this, requested = std::move(requested)] {
        unsigned char drained[64];
        while (::read(watch_->readEnd, drained, sizeof drained) > 0) {
        }
        requested();
    });

    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int s : kSignals) sigaddset(&action.sa_mask, s);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (::sigaction(kSignals[i], nullptr, &watch_->previous[i]) != 0) continue;
        if (watch_->previous[i].sa_handler == SIG_IGN) continue;
        watch_->caught[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

TerminationSignals::~TerminationSignals() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        if (watch_->caught[i]) ::sigaction(kSignals[i], &watch_->previous[i], nullptr);
    signalPipe.store(-1);
    watch_->notifier.reset();
    if (watch_->readEnd >= 0) ::close(watch_->readEnd);
    if (watch_->writeEnd >= 0) ::close(watch_->writeEnd);
}

}  // namespace varelo
