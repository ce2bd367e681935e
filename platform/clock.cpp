#include "clock.h"

#include <chrono>
#include <ctime>

namespace varelo {
namespace {

class SteadyTickClock final : public TickClock {
public:
    std::uint32_t ticks() const override {
        using namespace std::chrono;
        auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
        return static_cast<std::uint32_t>(ms);
    }
};

class LocalWallClock final : public WallClock {
public:
    TimeOfDay now() const override {
        using namespace std::chrono;
        const auto t = system_clock::now();
        const std::time_t secs = system_clock::to_time_t(t);
        std::tm local{};
        localtime_r(&secs, &local);
        const auto ms = duration_cast<milliseconds>(t.time_since_epoch()).count() % 1000;
        return {local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms)};
    }
};

}  // namespace

const TickClock& systemTickClock() {
    static const SteadyTickClock clock;
    return clock;
}

const WallClock& systemWallClock() {
    static const LocalWallClock clock;
    return clock;
}

}  // namespace varelo
