#include "form_timer.h"

namespace varelo {

FormTimer::FormTimer(QObject* parent, int intervalMs) : QObject(parent), interval_(intervalMs) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &FormTimer::fire);
}

void FormTimer::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    restart();
}

void FormTimer::setInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    restart();
}

void FormTimer::fire() {
    if (onTimer_) onTimer_();
}

void FormTimer::restart() {
    timer_.stop();
    // An interval of 0 stops a window timer rather than running it flat out.
    if (enabled_ && interval_ > 0) timer_.start(interval_);
}

}  // namespace varelo
