#include "platform/engine/tag_check.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/engine/frame_header.h"

namespace tunekist {

namespace {

std::uint32_t BigEndian(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// True when a frame like `first` ends exactly at `end`.
bool FrameEndsAt(const FileReader& reader, const FrameHeader& first, std::int64_t end) {
    constexpr std::int64_t kLongestFrame = 1441;
    const std::int64_t from = std::max<std::int64_t>(0, end - kLongestFrame);
    std::vector<unsigned char> tail(static_cast<std::size_t>(end - from));
    if (reader.ReadAt(from, tail.data(), tail.size()) != static_cast<ssize_t>(tail.size())) return false;
    for (std::size_t at = 0; at + 4 <= tail.size(); ++at) {
        const auto header = ParseLayer3Header(&tail[at]);
        if (header && header->SameStreamAs(first) && from + static_cast<std::int64_t>(at) + header->bytes == end) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool TagCoversWholeStream(const FileReader& reader) {
    const std::int64_t start = StreamStart(reader);
    unsigned char frame[256];
    if (reader.ReadAt(start, frame, sizeof frame) != static_cast<ssize_t>(sizeof frame)) return false;
    const auto first = ParseLayer3Header(frame);
    if (!first) return false;
    const std::size_t tagAt = 4 + (first->version == 3 ? (first->mono ? 17 : 32) : (first->mono ? 9 : 17));
    const unsigned char* tag = frame + tagAt;
    if (std::memcmp(tag, "Xing", 4) != 0 && std::memcmp(tag, "Info", 4) != 0) return false;
    const std::uint32_t flags = BigEndian(tag + 4);
    constexpr std::uint32_t kFramesAndBytes = 0x3;
    if ((flags & kFramesAndBytes) != kFramesAndBytes || BigEndian(tag + 8) == 0) return false;
    const std::int64_t end = start + BigEndian(tag + 12);
    // Songs joined into one file keep the first song's tag, and decoding plays them all: the tag
    // is believed only when nothing but an ID3v1 tag follows the stream it describes.
    if (end != StreamEnd(reader) || end <= start + first->bytes) return false;
    return FrameEndsAt(reader, *first, end);
}

}  // namespace tunekist
