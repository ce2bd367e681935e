#pragma once

#include "trace/trace_options.h"

namespace varelo {

// A whole run, from opened lines (or a record) to the summary; its exit status:
// 0 ended as asked, 1 failed on the way, 2 refused at start.
int RunLiveTrace(const TraceOptions& options);
int RunReplayTrace(const TraceOptions& options);

inline constexpr int kExitFailed = 1;
inline constexpr int kExitRefused = 2;

}  // namespace varelo
