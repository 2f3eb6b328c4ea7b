#include "platform/engine/plain_stream.h"

#include "platform/engine/chunk_window.h"
#include "platform/engine/frame_header.h"
#include "platform/engine/trailing_tags.h"

namespace tunekist {

namespace {

// Large enough for few system calls, small enough to stay in the processor's cache.
constexpr std::size_t kChunkBytes = 128 * 1024;
// libmpg123 confirms a frame by the header that follows it and drops the stream's very first
// frames when it cannot; below this many frames its own scan decides.
constexpr std::int64_t kFewestFrames = 8;

}  // namespace

std::optional<std::int64_t> PlainStreamLength(const FileReader& reader) {
    const auto audioEnd = FileTail(reader).AudioEnd();
    if (!audioEnd) return std::nullopt;
    const std::int64_t end = *audioEnd;
    std::int64_t at = StreamStart(reader);
    ChunkWindow window(reader, end, kChunkBytes);
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
