#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varelo {

// A first-in first-out byte store of fixed capacity, allocated once.
class ByteRing {
  public:
    explicit ByteRing(std::size_t capacity);

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return store_.size(); }
    bool full() const { return size_ == store_.size(); }

    // The free room that follows the stored bytes without wrapping; fill it, then commit.
    std::span<std::uint8_t> writable();
    void commit(std::size_t count);

    // Moves up to size of the oldest bytes out; the count moved.
    std::size_t take(void* out, std::size_t size);
    void clear();

  private:
    std::vector<std::uint8_t> store_;
    std::size_t head_ = 0;  // oldest byte
    std::size_t size_ = 0;
};

}  // namespace varelo
