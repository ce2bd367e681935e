#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>
#include <optional>

namespace varelo {

// Ticks at a fixed period, on time to within the kernel's timer resolution. The
// event loop's own timers wait in poll(), which counts in whole milliseconds and
// which the kernel lets oversleep by a thousandth of the wait (a whole millisecond
// on a one-second period); where the system has timer descriptors, the wait is a
// kernel timer that wakes the loop when the period is up. Elsewhere it is a
// precise event-loop timer.
class PreciseTicker : public QObject {
  public:
    explicit PreciseTicker(std::function<void()> onTick, QObject* parent = nullptr);
    ~PreciseTicker() override;
    PreciseTicker(const PreciseTicker&) = delete;
    PreciseTicker& operator=(const PreciseTicker&) = delete;

    // The first tick one period from now, then one every period.
    void start(int periodMs);
    void stop();

  private:
    void arm(int periodMs);
    void expired();

    std::function<void()> onTick_;
    int timerFd_ = -1;
    std::optional<QSocketNotifier> notifier_;
    QTimer fallback_;
    bool running_ = false;
};

}  // namespace varelo
