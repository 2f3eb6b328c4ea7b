#include "platform/engine/tag_check.h"

#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace tunekist {

namespace {

struct FrameHeader {
    int version = 0;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int sampleRate = 0;
    bool mono = false;
    int bytes = 0;    // the whole frame, header included
};

std::uint32_t BigEndian(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Parses a Layer III frame header; free-format and reserved values are refused.
std::optional<FrameHeader> ParseHeader(const unsigned char* p) {
    static constexpr std::array<int, 15> kMpeg1Kbps{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static constexpr std::array<int, 15> kMpeg2Kbps{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static constexpr std::array<int, 3> kMpeg1Rates{44100, 48000, 32000};
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return std::nullopt;
    const int version = (p[1] >> 3) & 3;
    const int layer = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) {
        return std::nullopt;
    }
    FrameHeader header;
    header.version = version;
    header.sampleRate = kMpeg1Rates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    header.mono = (p[3] >> 6) == 3;
    const int kbps = (version == 3 ? kMpeg1Kbps : kMpeg2Kbps)[bitrateIndex];
    const int padding = (p[2] >> 1) & 1;
    header.bytes = (version == 3 ? 144 : 72) * kbps * 1000 / header.sampleRate + padding;
    return header;
}

// Where the first frame starts: after one ID3v2 tag, if there is one.
std::int64_t StreamStart(const FileReader& reader) {
    unsigned char id3[10];
    if (reader.ReadAt(0, id3, sizeof id3) != sizeof id3 || std::memcmp(id3, "ID3", 3) != 0) return 0;
    const std::int64_t size = (std::int64_t{id3[6] & 0x7F} << 21) | ((id3[7] & 0x7F) << 14) |
                              ((id3[8] & 0x7F) << 7) | (id3[9] & 0x7F);
    return 10 + size + ((id3[5] & 0x10) != 0 ? 10 : 0);
}

// True when a frame like `first` ends exactly at `end`.
bool FrameEndsAt(const FileReader& reader, const FrameHeader& first, std::int64_t end) {
    constexpr std::int64_t kLongestFrame = 1441;
    const std::int64_t from = std::max<std::int64_t>(0, end - kLongestFrame);
    std::vector<unsigned char> tail(static_cast<std::size_t>(end - from));
    if (reader.ReadAt(from, tail.data(), tail.size()) != static_cast<ssize_t>(tail.size())) return false;
    for (std::size_t at = 0; at + 4 <= tail.size(); ++at) {
        const auto header = ParseHeader(&tail[at]);
        if (header && header->version == first.version && header->sampleRate == first.sampleRate &&
            header->mono == first.mono && from + static_cast<std::int64_t>(at) + header->bytes == end) {
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
    const auto first = ParseHeader(frame);
    if (!first) return false;
    const std::size_t tagAt = 4 + (first->version == 3 ? (first->mono ? 17 : 32) : (first->mono ? 9 : 17));
    const unsigned char* tag = frame + tagAt;
    if (std::memcmp(tag, "Xing", 4) != 0 && std::memcmp(tag, "Info", 4) != 0) return false;
    const std::uint32_t flags = BigEndian(tag + 4);
    constexpr std::uint32_t kFramesAndBytes = 0x3;
    if ((flags & kFramesAndBytes) != kFramesAndBytes || BigEndian(tag + 8) == 0) return false;
    const std::int64_t end = start + BigEndian(tag + 12);
    if (end > reader.Identity().size || end <= start + first->bytes) return false;
    return FrameEndsAt(reader, *first, end);
}

}  // namespace tunekist
