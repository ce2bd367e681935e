#pragma once

#include "platform/clock.h"

namespace varelo::test {

// A tick counter the test sets; with a step, every reading moves it on by that
// much, so that waits end without real time passing.
class FakeTickClock final : public TickClock {
  public:
    explicit FakeTickClock(std::uint32_t start = 1000, std::uint32_t step = 0) : now_(start), step_(step) {}
    std::uint32_t ticks() const override {
        const std::uint32_t t = now_;
        now_ += step_;
        return t;
    }
    void set(std::uint32_t t) { now_ = t; }
    void advance(std::uint32_t ms) { now_ += ms; }
    void setStep(std::uint32_t ms) { step_ = ms; }

  private:
    mutable std::uint32_t now_;
    std::uint32_t step_;
};

}  // namespace varelo::test
