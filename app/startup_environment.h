#pragma once

namespace varelo {

// True when a graphical display is there to open the windows on.
bool DisplayAvailable();

// Milliseconds since the system started this process, for the start-up benchmark.
double MsSinceProcessStart();

}  // namespace varelo
