#include "platform/engine/sample_ring.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tunekist {

SampleRing::SampleRing(std::size_t capacity)
    : buffer_(std::bit_ceil(std::max<std::size_t>(capacity, 2))), mask_(buffer_.size() - 1) {}

std::size_t SampleRing::Push(std::span<const Sample> samples) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    const std::size_t tail = tail_.load(std::memory_order_acquire);
    const std::size_t count = std::min(samples.size(), buffer_.size() - (head - tail));
    // In at most two pieces: up to the end of the buffer, then from its start.
    const std::size_t at = head & mask_;
    const std::size_t first = std::min(count, buffer_.size() - at);
    std::memcpy(buffer_.data() + at, samples.data(), first * sizeof(Sample));
    std::memcpy(buffer_.data(), samples.data() + first, (count - first) * sizeof(Sample));
    head_.store(head + count, std::memory_order_release);
    return count;
}

std::span<SampleRing::Sample> SampleRing::Room() {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    const std::size_t free = buffer_.size() - (head - tail_.load(std::memory_order_acquire));
    const std::size_t at = head & mask_;
    return {buffer_.data() + at, std::min(free, buffer_.size() - at)};
}

void SampleRing::Commit(std::size_t count) {
    head_.store(head_.load(std::memory_order_relaxed) + count, std::memory_order_release);
}

std::size_t SampleRing::Pop(std::span<Sample> out) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    const std::size_t head = head_.load(std::memory_order_acquire);
    const std::size_t count = std::min(out.size(), head - tail);
    const std::size_t at = tail & mask_;
    const std::size_t first = std::min(count, buffer_.size() - at);
    std::memcpy(out.data(), buffer_.data() + at, first * sizeof(Sample));
    std::memcpy(out.data() + first, buffer_.data(), (count - first) * sizeof(Sample));
    tail_.store(tail + count, std::memory_order_release);
    return count;
}

std::size_t SampleRing::Available() const {
    return head_.load(std::memory_order_acquire) - tail_.load(std::memory_order_acquire);
}

std::size_t SampleRing::Free() const { return buffer_.size() - Available(); }

void SampleRing::Clear() { tail_.store(head_.load()); }

}  // namespace tunekist
