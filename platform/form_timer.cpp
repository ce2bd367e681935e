#include "form_timer.h"

namespace varelo {

FormTimer::FormTimer(QObject* parent, int intervalMs)
    : QObject(parent), interval_(intervalMs), ticker_([this] { fire(); }) {}

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
    ticker_.stop();
    // An interval of 0 stops a window timer rather than running it flat out.
    if (enabled_ && interval_ > 0) ticker_.start(interval_);
}

}  // namespace varelo
