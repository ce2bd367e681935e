#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace varelo::bench {

// Measures how long the event loop stays away: a timer due every 10 ms notes the
// longest time between two of its ticks beyond that period.
class StallWatch : public QObject {
    Q_OBJECT
  public:
    StallWatch();
    void start();
    void stop() { timer_.stop(); }
    double longestStallMs() const { return static_cast<double>(longestGapNs_) / 1e6 - kPeriodMs; }

  private:
    static constexpr int kPeriodMs = 10;
    void tick();

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastNs_ = 0;
    qint64 longestGapNs_ = 0;
};

}  // namespace varelo::bench
