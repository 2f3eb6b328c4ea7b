#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/engine/file_reader.h"

namespace tunekist {

// Hands out the bytes of a file at any offset before an end, reading a chunk at a time: bytes that
// lie within the chunk read last cost no system call.
class ChunkWindow {
public:
    ChunkWindow(const FileReader& reader, std::int64_t end, std::size_t chunkBytes);

    // The `bytes` bytes at `offset`, or nullptr when they do not all lie before the end or cannot
    // be read. The pointer holds until the next call.
    const unsigned char* At(std::int64_t offset, std::size_t bytes);

private:
    const FileReader& reader_;
    const std::int64_t end_;
    std::vector<unsigned char> buffer_;
    std::int64_t origin_ = 0;
    std::int64_t valid_ = 0;
};

}  // namespace tunekist
