#include "platform/engine/tag_check.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/engine/chunk_window.h"
#include "platform/engine/frame_header.h"
#include "platform/engine/trailing_tags.h"

namespace tunekist {

namespace {

// libmpg123 adds this synthesis delay to the encoder delay and padding of a LAME tag.
constexpr std::int64_t kDecoderDelay = 529;

std::uint32_t BigEndian(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// True when a frame like `first` ends exactly at `end`; `sizes` are the sizes such a frame can
// have (FrameSizesLike), the only ones looked at.
bool FrameEndsAt(FileTail& tail, const FrameHeader& first, const std::vector<int>& sizes, std::int64_t end) {
    constexpr std::int64_t kLongestFrame = 1441;
    const auto span = static_cast<std::size_t>(std::min(end, kLongestFrame));
    const unsigned char* bytes = tail.BytesBefore(end, span);
    if (!bytes) return false;
    for (const int frameBytes : sizes) {
        if (frameBytes > static_cast<int>(span)) continue;
        const auto header = ParseLayer3Header(bytes + span - static_cast<std::size_t>(frameBytes));
        if (header && header->SameStreamAs(first) && header->bytes == frameBytes) return true;
    }
    return false;
}

// The first frame of a stream that carries a Xing/Info tag with a frame and a byte count that
// provably cover the whole stream.
struct TagFrame {
    FrameHeader first;
    unsigned char bytes[256];
    std::size_t sideInfo = 0;  // where the tag starts, counted after the four header bytes
};

std::optional<TagFrame> CoveringTagFrame(const FileReader& reader) {
    // One read serves every question asked of the song's start, and one more those asked where an
    // ID3v2 tag ends, unless the tag is short enough for the first read to reach past it.
    ChunkWindow head(reader, reader.Identity().size, kStreamHeadBytes);
    TagFrame frame;
    const unsigned char* bytes = head.At(0, sizeof frame.bytes);
    if (!bytes) return {};
    const std::int64_t start = StreamStart(bytes);
    if (start != 0) bytes = head.At(start, sizeof frame.bytes);
    if (!bytes) return {};
    std::memcpy(frame.bytes, bytes, sizeof frame.bytes);
    const auto first = ParseLayer3Header(frame.bytes);
    if (!first) return {};
    frame.first = *first;
    frame.sideInfo = first->version == 3 ? (first->mono ? 17 : 32) : (first->mono ? 9 : 17);
    const unsigned char* tag = frame.bytes + 4 + frame.sideInfo;
    if (std::memcmp(tag, "Xing", 4) != 0 && std::memcmp(tag, "Info", 4) != 0) return {};
    const std::uint32_t flags = BigEndian(tag + 4);
    constexpr std::uint32_t kFramesAndBytes = 0x3;
    if ((flags & kFramesAndBytes) != kFramesAndBytes || BigEndian(tag + 8) == 0) return {};
    const std::int64_t end = start + BigEndian(tag + 12);
    FileTail tail(reader);
    // Songs joined into one file keep the first song's tag, and decoding plays them all: the tag
    // is believed only when nothing but tags follows the stream it describes.
    if (end != tail.AudioEnd() || end <= start + first->bytes) return {};
    const std::vector<int> sizes = FrameSizesLike(*first);
    if (!FrameEndsAt(tail, *first, sizes, end)) return {};
    // A frame count the bytes cannot hold is damage, not a promise to keep: the frames after the
    // tag's own must each be one of the sizes the stream allows; in a constant bit rate stream
    // ("Info") the size of the first of them, give or take the padding byte.
    const std::int64_t frames = BigEndian(tag + 8);
    const std::int64_t audioBytes = end - start - first->bytes;
    std::int64_t smallest = *std::min_element(sizes.begin(), sizes.end());
    std::int64_t largest = *std::max_element(sizes.begin(), sizes.end());
    if (std::memcmp(tag, "Info", 4) == 0) {
        const unsigned char* next = head.At(start + first->bytes, 4);
        if (!next) return {};
        const auto audio = ParseLayer3Header(next);
        if (!audio || !audio->SameStreamAs(*first)) return {};
        smallest = audio->bytes - ((next[2] & 0x02) != 0 ? 1 : 0);
        largest = smallest + 1;
    }
    if (audioBytes < frames * smallest || audioBytes > frames * largest) return {};
    return frame;
}

}  // namespace

bool TagCoversWholeStream(const FileReader& reader) { return CoveringTagFrame(reader).has_value(); }

std::optional<TaggedLength> LameTagLength(const FileReader& reader) {
    const auto frame = CoveringTagFrame(reader);
    if (!frame) return std::nullopt;
    // libmpg123 counts from the end of the header, within the frame's own bytes.
    const unsigned char* body = frame->bytes + 4;
    const std::size_t bodyBytes =
        std::min<std::size_t>(static_cast<std::size_t>(frame->first.bytes) - 4, sizeof frame->bytes - 4);
    // It takes the tag for one only where the side information before it is zero, checksum aside.
    for (std::size_t i = 2; i < frame->sideInfo; ++i) {
        if (body[i] != 0) return std::nullopt;
    }
    std::size_t at = frame->sideInfo + 4;
    const std::uint32_t flags = BigEndian(body + at);
    at += 4;
    const std::int64_t tagFrames = BigEndian(body + at);
    at += 8;  // the frame count, then the byte count: both are there, the proof above needs them
    if ((flags & 0x4) != 0) at += 100;  // the seek table
    if ((flags & 0x8) != 0) at += 4;    // the quality
    // The LAME extension: 24 bytes, the encoder's name first; without it there is no delay.
    if (at + 24 > bodyBytes || body[at] == 0) return std::nullopt;
    const std::int64_t delay = (std::int64_t{body[at + 21]} << 4) | (body[at + 22] >> 4);
    const std::int64_t padding = ((std::int64_t{body[at + 22]} & 0x0F) << 8) | body[at + 23];
    // libmpg123's gapless count: its synthesis delay is added to both ends. Padding shorter than
    // that delay is counted differently there; such files are left to the decoder.
    if (padding < kDecoderDelay) return std::nullopt;
    const std::int64_t begin = delay + kDecoderDelay;
    const std::int64_t end = tagFrames * frame->first.SamplesPerFrame() - padding + kDecoderDelay;
    const std::int64_t length = end - begin;
    if (length < 0) return std::nullopt;
    return TaggedLength{frame->first.sampleRate, length};
}

}  // namespace tunekist
