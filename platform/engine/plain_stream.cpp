#include "platform/engine/plain_stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/engine/frame_header.h"
#include "platform/engine/trailing_tags.h"

namespace tunekist {

namespace {

// Large enough for few system calls, small enough to stay in the processor's cache.
constexpr std::size_t kChunkBytes = 128 * 1024;
// libmpg123 confirms a frame by the header that follows it and drops the stream's very first
// frames when it cannot; below this many frames its own scan decides.
constexpr std::int64_t kFewestFrames = 8;

// Reads the file in chunks and hands out the bytes at any offset at or after the last one asked.
class ChunkWindow {
public:
    ChunkWindow(const FileReader& reader, std::int64_t end) : reader_(reader), end_(end), buffer_(kChunkBytes) {}

    // The `bytes` bytes at `offset`, or nullptr when they do not all lie before the end.
    const unsigned char* At(std::int64_t offset, std::size_t bytes) {
        if (offset + static_cast<std::int64_t>(bytes) > end_) return nullptr;
        if (offset < origin_ || offset + static_cast<std::int64_t>(bytes) > origin_ + valid_) {
            const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(kChunkBytes, end_ - offset));
            const ssize_t got = reader_.ReadAt(offset, buffer_.data(), wanted);
            if (got < static_cast<ssize_t>(bytes)) return nullptr;
            origin_ = offset;
            valid_ = got;
        }
        return buffer_.data() + (offset - origin_);
    }

private:
    const FileReader& reader_;
    const std::int64_t end_;
    std::vector<unsigned char> buffer_;
    std::int64_t origin_ = 0;
    std::int64_t valid_ = 0;
};

}  // namespace

std::optional<std::int64_t> PlainStreamLength(const FileReader& reader) {
    const auto audioEnd = FileTail(reader).AudioEnd();
    if (!audioEnd) return std::nullopt;
    const std::int64_t end = *audioEnd;
    std::int64_t at = StreamStart(reader);
    ChunkWindow window(reader, end);
    const unsigned char* bytes = window.At(at, 4);
    const auto first = bytes ? ParseLayer3Header(bytes) : std::nullopt;
    if (!first) return std::nullopt;
    const unsigned char* firstFrame = window.At(at, static_cast<std::size_t>(first->bytes));
    if (!firstFrame || FrameCarriesTag(firstFrame, static_cast<std::size_t>(first->bytes))) return std::nullopt;
    const StreamFrames stream(firstFrame);
    // Every byte to the end is read, in order.
    reader.WillReadInOrder();
    std::int64_t frames = 0;
    while (at < end) {
        bytes = window.At(at, 4);
        const std::optional<int> frameBytes = bytes ? stream.FrameBytes(bytes) : std::nullopt;
        if (!frameBytes) return std::nullopt;
        at += *frameBytes;
        ++frames;
    }
    // A last frame reaching past the end is cut short; its samples are libmpg123's to judge.
    if (at != end || frames < kFewestFrames) return std::nullopt;
    return frames * first->SamplesPerFrame();
}

}  // namespace tunekist
