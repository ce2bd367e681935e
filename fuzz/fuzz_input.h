#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace varelo::fuzz {

// Reads a fuzz input front to back as a script: operation bytes and their
// operands. Past the end every byte reads as 0 and every run of bytes is short,
// so any input, however cut, is a valid script.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }

    std::uint8_t byte() { return empty() ? 0 : data_[pos_++]; }

    // At most `count` bytes, fewer at the end of the input.
    std::string bytes(std::size_t count) {
        const std::size_t n = count < size_ - pos_ ? count : size_ - pos_;
        std::string run(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return run;
    }

    std::string rest() { return bytes(size_ - pos_); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

[[noreturn]] inline void invariantBroken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

}  // namespace varelo::fuzz

// A broken invariant aborts, which libFuzzer reports as a finding with the input.
#define FUZZ_CHECK(condition) \
    ((condition) ? void() : ::varelo::fuzz::invariantBroken(#condition, __FILE__, __LINE__))
