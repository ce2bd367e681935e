#include "serial/byte_ring.h"

#include <algorithm>
#include <cstring>

namespace varelo {

ByteRing::ByteRing(std::size_t capacity)
    : capacity_(capacity), store_(std::make_unique_for_overwrite<std::uint8_t[]>(capacity)) {}

std::span<std::uint8_t> ByteRing::writable() {
    const std::size_t cap = capacity_;
    if (size_ == cap) return {};
    const std::size_t tail = (head_ + size_) % cap;
    const std::size_t room = tail >= head_ ? cap - tail : head_ - tail;
    return {store_.get() + tail, room};
}

void ByteRing::commit(std::size_t count) {
    size_ += std::min(count, capacity_ - size_);
}

std::size_t ByteRing::take(void* out, std::size_t size) {
    const std::size_t count = std::min(size, size_);
    if (count == 0) return 0;
    const std::size_t first = std::min(count, capacity_ - head_);
    auto* dst = static_cast<std::uint8_t*>(out);
    std::memcpy(dst, store_.get() + head_, first);
    std::memcpy(dst + first, store_.get(), count - first);
    head_ = (head_ + count) % capacity_;
    size_ -= count;
    if (size_ == 0) head_ = 0;
    return count;
}

void ByteRing::clear() {
    head_ = 0;
    size_ = 0;
}

}  // namespace varelo
