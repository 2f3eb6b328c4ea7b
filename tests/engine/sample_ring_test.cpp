// Samples leave the ring in the order they went in, also across the end of its buffer: after a seek
// empties the ring mid-buffer, the device's reads cross its end.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "platform/engine/sample_ring.h"

namespace tunekist {
namespace {

TEST(SampleRing, RoomReachesOnlyToTheBufferEndAndCommittedSamplesKeepTheirOrder) {
    SampleRing ring(8);
    const std::vector<SampleRing::Sample> first{1, 2, 3, 4, 5, 6};
    ASSERT_EQ(ring.Push(first), 6u);
    std::vector<SampleRing::Sample> out(6);
    ASSERT_EQ(ring.Pop(out), 6u);
    // Free are all 8, but only the last 2 follow each other in memory.
    std::span<SampleRing::Sample> room = ring.Room();
    ASSERT_EQ(room.size(), 2u);
    room[0] = 7;
    room[1] = 8;
    ring.Commit(2);
    room = ring.Room();
    ASSERT_EQ(room.size(), 6u);
    std::iota(room.begin(), room.begin() + 3, SampleRing::Sample{9});
    ring.Commit(3);
    EXPECT_EQ(ring.Available(), 5u);
    std::vector<SampleRing::Sample> rest(8);
    ASSERT_EQ(ring.Pop(rest), 5u);
    EXPECT_EQ(std::vector<SampleRing::Sample>(rest.begin(), rest.begin() + 5),
              (std::vector<SampleRing::Sample>{7, 8, 9, 10, 11}));
}

}  // namespace
}  // namespace tunekist
