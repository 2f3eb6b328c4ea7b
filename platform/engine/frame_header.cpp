#include "platform/engine/frame_header.h"

#include <array>
#include <cstring>
#include <string_view>

namespace tunekist {

namespace {

// The frame's size in bytes, header included, for a valid bitrate index (1 to 14).
int FrameSize(int version, int bitrateIndex, int sampleRate, int padding) {
    static constexpr std::array<int, 15> kMpeg1Kbps{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static constexpr std::array<int, 15> kMpeg2Kbps{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    const int kbps = (version == 3 ? kMpeg1Kbps : kMpeg2Kbps)[static_cast<std::size_t>(bitrateIndex)];
    return (version == 3 ? 144 : 72) * kbps * 1000 / sampleRate + padding;
}

bool MonoMode(unsigned char fourthByte) { return (fourthByte >> 6) == 3; }

}  // namespace

std::optional<FrameHeader> ParseLayer3Header(const unsigned char* p) {
    static constexpr std::array<int, 3> kMpeg1Rates{44100, 48000, 32000};
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return std::nullopt;
    const int version = (p[1] >> 3) & 3;
    const int layer = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    const int emphasis = p[3] & 3;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3 || emphasis == 2) {
        return std::nullopt;
    }
    FrameHeader header;
    header.version = version;
    header.sampleRate = kMpeg1Rates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    header.mono = MonoMode(p[3]);
    header.bytes = FrameSize(version, bitrateIndex, header.sampleRate, (p[2] >> 1) & 1);
    return header;
}

std::vector<int> FrameSizesLike(const FrameHeader& first) {
    std::vector<int> sizes;
    sizes.reserve(14 * 2);  // bit rates 1 to 14, each with and without padding
    for (int bitrateIndex = 1; bitrateIndex < 15; ++bitrateIndex) {
        for (int padding = 0; padding < 2; ++padding)
            sizes.push_back(FrameSize(first.version, bitrateIndex, first.sampleRate, padding));
    }
    return sizes;
}

StreamFrames::StreamFrames(const unsigned char* first)
    : versionAndLayer_(first[1] & 0xFE), rateBits_(first[2] & 0x0C), mono_(MonoMode(first[3])) {
    const FrameHeader header = ParseLayer3Header(first).value();
    for (int bitrateIndex = 1; bitrateIndex < 15; ++bitrateIndex) {
        for (int padding = 0; padding < 2; ++padding) {
            sizes_[static_cast<std::size_t>(bitrateIndex)][static_cast<std::size_t>(padding)] =
                FrameSize(header.version, bitrateIndex, header.sampleRate, padding);
        }
    }
}

std::optional<int> StreamFrames::FrameBytes(const unsigned char* p) const {
    // Same sync, version and layer as the first (so a valid Layer III one), the same sample rate
    // (within one version, one index is one rate), emphasis not reserved, and mono as the first.
    if (p[0] != 0xFF || (p[1] & 0xFE) != versionAndLayer_ || (p[2] & 0x0C) != rateBits_) return std::nullopt;
    if ((p[3] & 3) == 2 || MonoMode(p[3]) != mono_) return std::nullopt;
    const int size = sizes_[p[2] >> 4][(p[2] >> 1) & 1];
    if (size == 0) return std::nullopt;
    return size;
}

bool FrameCarriesTag(const unsigned char* frame, std::size_t bytes) {
    const std::string_view text(reinterpret_cast<const char*>(frame), bytes);
    for (const std::string_view mark : {"Xing", "Info", "VBRI", "LAME"}) {
        if (text.find(mark) != std::string_view::npos) return true;
    }
    return false;
}

std::int64_t StreamStart(const FileReader& reader) {
    unsigned char id3[10];
    return reader.ReadAt(0, id3, sizeof id3) == sizeof id3 ? StreamStart(id3) : 0;
}

std::int64_t StreamStart(const unsigned char* id3) {
    if (std::memcmp(id3, "ID3", 3) != 0) return 0;
    const std::int64_t size =
        (std::int64_t{id3[6] & 0x7F} << 21) | ((id3[7] & 0x7F) << 14) | ((id3[8] & 0x7F) << 7) | (id3[9] & 0x7F);
    return 10 + size + ((id3[5] & 0x10) != 0 ? 10 : 0);
}

}  // namespace tunekist
