#pragma once

#include "serial/kernel_blocks.h"

#include <array>
#include <cstdint>

namespace varelo {

// What a run saw on each line, for its summary.
struct LineStats {
    std::uint64_t telegrams = 0;
    std::uint64_t bytes = 0;
    KernelStamp longestGap = 0;
    std::uint64_t largestTelegram = 0;
    std::uint32_t lost = 0;
    std::uint32_t back = 0;
};

struct TraceStats {
    std::array<LineStats, 2> lines;
    std::uint64_t telegrams() const { return lines[0].telegrams + lines[1].telegrams; }
};

}  // namespace varelo
