#include "platform/engine/sample_ring.h"

#include <algorithm>
#include <bit>

namespace tunekist {

SampleRing::SampleRing(std::size_t capacity)
    : buffer_(std::bit_ceil(std::max<std::size_t>(capacity, 2))), mask_(buffer_.size() - 1) {}

std::size_t SampleRing::Push(std::span<const float> samples) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    const std::size_t tail = tail_.load(std::memory_order_acquire);
    const std::size_t count = std::min(samples.size(), buffer_.size() - (head - tail));
    for (std::size_t i = 0; i < count; ++i) buffer_[(head + i) & mask_] = samples[i];
    head_.store(head + count, std::memory_order_release);
    return count;
}

std::size_t SampleRing::Pop(std::span<float> out) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    const std::size_t head = head_.load(std::memory_order_acquire);
    const std::size_t count = std::min(out.size(), head - tail);
    for (std::size_t i = 0; i < count; ++i) out[i] = buffer_[(tail + i) & mask_];
    tail_.store(tail + count, std::memory_order_release);
    return count;
}

std::size_t SampleRing::Available() const {
    return head_.load(std::memory_order_acquire) - tail_.load(std::memory_order_acquire);
}

std::size_t SampleRing::Free() const { return buffer_.size() - Available(); }

void SampleRing::Clear() { tail_.store(head_.load()); }

}  // namespace tunekist
