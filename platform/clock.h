#pragma once

#include <cstdint>

namespace varelo {

// Milliseconds from an arbitrary start, wrapping at 32 bits. Elapsed times are
// taken as unsigned differences, so the wrap is harmless.
class TickClock {
public:
    virtual ~TickClock() = default;
    virtual std::uint32_t ticks() const = 0;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Local wall-clock time of day.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual TimeOfDay now() const = 0;
};

// The machine's clocks. Both are stateless, so one shared instance each is enough.
const TickClock& systemTickClock();
const WallClock& systemWallClock();

}  // namespace varelo
