#include "sim/line_role.h"

#include <algorithm>

namespace varelo {

std::optional<SimInstant> LineRole::nextWakeUp() const {
    const std::optional<SimInstant> own = ownDeadline();
    const std::optional<SimInstant> due = output_.nextDue();
    if (own && due) return std::min(*own, *due);
    return own ? own : due;
}

}  // namespace varelo
