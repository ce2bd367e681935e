#pragma once

#include "platform/precise_ticker.h"

#include <QObject>

#include <functional>

namespace varelo {

// A window timer as the forms use it: Enabled and Interval properties and one
// handler. Writing either property acts only when the value really changes, and
// then restarts the period from now.
class FormTimer : public QObject {
    Q_OBJECT
  public:
    explicit FormTimer(QObject* parent = nullptr, int intervalMs = 1000);

    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

    int interval() const { return interval_; }
    void setInterval(int ms);

    void setOnTimer(std::function<void()> handler) { onTimer_ = std::move(handler); }

    // Runs the handler as a tick would (tests drive timers this way).
    void fire();

  private:
    void restart();

    bool enabled_ = false;
    int interval_;
    std::function<void()> onTimer_;
    PreciseTicker ticker_;
};

}  // namespace varelo
