#include "serial/byte_ring.h"

#include <algorithm>
#include <cstring>

namespace varelo {

ByteRing::ByteRing(std::size_t capacity) : store_(capacity) {}

std::span<std::uint8_t> ByteRing::writable() {
    const std::size_t cap = store_.size();
    if (size_ == cap) return {};
    const std::size_t tail = (head_ + size_) % cap;
    const std::size_t room = tail >= head_ ? cap - tail : head_ - tail;
    return {store_.data() + tail, room};
}

void ByteRing::commit(std::size_t count) {
    size_ += std::min(count, store_.size() - size_);
}

std::size_t ByteRing::take(void* out, std::size_t size) {
    const std::size_t count = std::min(size, size_);
    if (count == 0) return 0;
    const std::size_t first = std::min(count, store_.size() - head_);
    auto* dst = static_cast<std::uint8_t*>(out);
    std::memcpy(dst, store_.data() + head_, first);
    std::memcpy(dst + first, store_.data(), count - first);
    head_ = (head_ + count) % store_.size();
    size_ -= count;
    if (size_ == 0) head_ = 0;
    return count;
}

void ByteRing::clear() {
    head_ = 0;
    size_ = 0;
}

}  // namespace varelo
