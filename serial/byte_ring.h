#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace varelo {

// A first-in first-out byte store of fixed capacity, allocated once. The store is
// not cleared: the system gives it memory only as bytes fill it.
class ByteRing {
  public:
    explicit ByteRing(std::size_t capacity);

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool full() const { return size_ == capacity_; }

    // The free room that follows the stored bytes without wrapping; fill it, then commit.
    std::span<std::uint8_t> writable();
    void commit(std::size_t count);

    // Moves up to size of the oldest bytes out; the count moved.
    std::size_t take(void* out, std::size_t size);
    void clear();

  private:
    std::size_t capacity_;
    std::unique_ptr<std::uint8_t[]> store_;
    std::size_t head_ = 0;  // oldest byte
    std::size_t size_ = 0;
};

}  // namespace varelo
