#include "platform/engine/chunk_window.h"

#include <algorithm>

namespace tunekist {

ChunkWindow::ChunkWindow(const FileReader& reader, std::int64_t end, std::size_t chunkBytes)
    : reader_(reader), end_(end), buffer_(chunkBytes) {}

const unsigned char* ChunkWindow::At(std::int64_t offset, std::size_t bytes) {
    if (offset < 0 || offset + static_cast<std::int64_t>(bytes) > end_) return nullptr;
    if (offset < origin_ || offset + static_cast<std::int64_t>(bytes) > origin_ + valid_) {
        const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(buffer_.size(), end_ - offset));
        const ssize_t got = reader_.ReadAt(offset, buffer_.data(), wanted);
        if (got < static_cast<ssize_t>(bytes)) return nullptr;
        origin_ = offset;
        valid_ = got;
    }
    return buffer_.data() + (offset - origin_);
}

}  // namespace tunekist
