#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>

namespace varelo {

// A moment on the monotonic clock, in nanoseconds. One clock for every line, so
// the blocks of two lines can be put in the order in which they came.
using KernelStamp = std::int64_t;

inline KernelStamp KernelStampNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Who takes the received bytes of a device straight from the kernel, each block
// as one read gave it, stamped the moment that read returned. `gone` is told once
// when the far end has gone (an unplugged adapter, a closed pseudo-terminal).
// Neither may destroy the device from inside the call.
struct KernelBlockTaker {
    std::function<void(KernelStamp stamp, std::span<const std::uint8_t> bytes)> block;
    std::function<void()> gone;
};

}  // namespace varelo
