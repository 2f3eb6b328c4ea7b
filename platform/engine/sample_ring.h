#pragma once
// A bounded ring of interleaved 16-bit samples between one producer (the decoding thread) and one
// consumer (the audio callback). Neither side ever blocks or allocates. Clear may be called only
// while both sides are held still.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tunekist {

class SampleRing {
public:
    using Sample = std::int16_t;

    // Holds at least `capacity` samples.
    explicit SampleRing(std::size_t capacity);

    // Copies as many of `samples` as fit; returns how many were taken.
    std::size_t Push(std::span<const Sample> samples);
    // The free samples that follow each other in memory from where the next push goes, for the
    // producer to fill in place; Commit then hands `count` of them to the consumer.
    std::span<Sample> Room();
    void Commit(std::size_t count);
    // Moves up to out.size() samples into `out`; returns how many.
    std::size_t Pop(std::span<Sample> out);
    std::size_t Available() const;
    std::size_t Free() const;
    // The number of samples it holds when full.
    std::size_t Capacity() const { return buffer_.size(); }
    void Clear();

private:
    std::vector<Sample> buffer_;
    std::size_t mask_;
    std::atomic<std::size_t> head_{0};  // total samples pushed
    std::atomic<std::size_t> tail_{0};  // total samples popped
};

}  // namespace tunekist
