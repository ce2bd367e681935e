#include "platform/precise_ticker.h"

#if defined(__linux__)
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#endif

namespace varelo {

PreciseTicker::PreciseTicker(std::function<void()> onTick, QObject* parent)
    : QObject(parent), onTick_(std::move(onTick)) {
#if defined(__linux__)
    timerFd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timerFd_ >= 0) return;
#endif
    fallback_.setTimerType(Qt::PreciseTimer);
    connect(&fallback_, &QTimer::timeout, this, [this] { onTick_(); });
}

PreciseTicker::~PreciseTicker() {
    notifier_.reset();
#if defined(__linux__)
    if (timerFd_ >= 0) ::close(timerFd_);
#endif
}

void PreciseTicker::start(int periodMs) {
    running_ = true;
    arm(periodMs);
}

void PreciseTicker::stop() {
    running_ = false;
    arm(0);
}

void PreciseTicker::arm(int periodMs) {
    if (timerFd_ < 0) {
        if (periodMs > 0)
            fallback_.start(periodMs);
        else
            fallback_.stop();
        return;
    }
#if defined(__linux__)
    // Watched from the first start on: a ticker made before the event loop exists
    // (or never started) needs no watch.
    if (periodMs > 0 && !notifier_) {
        notifier_.emplace(timerFd_, QSocketNotifier::Read);
        connect(&*notifier_, &QSocketNotifier::activated, this, &PreciseTicker::expired);
    }
    // Setting the timer also forgets expiries not yet read, so a tick due before a
    // stop or a restart never arrives after it.
    itimerspec period{};
    period.it_interval.tv_sec = periodMs / 1000;
    period.it_interval.tv_nsec = static_cast<long>(periodMs % 1000) * 1000000;
    period.it_value = period.it_interval;
    ::timerfd_settime(timerFd_, 0, &period, nullptr);
#endif
}

void PreciseTicker::expired() {
#if defined(__linux__)
    // Periods missed while the window was busy make one tick, as a window timer's do.
    std::uint64_t expiries = 0;
    if (::read(timerFd_, &expiries, sizeof expiries) != sizeof expiries) return;
#endif
    if (running_) onTick_();
}

}  // namespace varelo
