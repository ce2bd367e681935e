#include "bench/whole_program/stall_watch.h"

#include <algorithm>

namespace varelo::bench {

StallWatch::StallWatch() {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StallWatch::tick);
}

void StallWatch::start() {
    clock_.start();
    lastNs_ = 0;
    longestGapNs_ = kPeriodMs * 1000000LL;
    timer_.start(kPeriodMs);
}

void StallWatch::tick() {
    const qint64 now = clock_.nsecsElapsed();
    longestGapNs_ = std::max(longestGapNs_, now - lastNs_);
    lastNs_ = now;
}

}  // namespace varelo::bench
