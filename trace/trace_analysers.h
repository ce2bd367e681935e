#pragma once

#include "trace/trace_options.h"
#include "trace/trace_stage.h"

#include <memory>
#include <vector>

namespace varelo {

// The analysers the options ask for, in the order in which they see each telegram.
std::vector<std::unique_ptr<TelegramAnalyser>> MakeAnalysers(const TraceOptions& options);

}  // namespace varelo
