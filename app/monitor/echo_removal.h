#pragma once

#include "util/shared_state.h"

#include <string>

namespace varelo {

// RS-485 echo removal ("Return 485") for a block received on port 1; the caller
// calls it only while "Return 485" is checked. While an echo is pending, the
// last sent telegram is looked for at the start of this block, and only in this
// block: a block that is exactly the echo becomes empty, a longer one that
// starts with it loses it, anything else stays whole. Afterwards no echo is pending.
void RemoveEcho(std::string& block, SharedState& shared);

}  // namespace varelo
