#pragma once
// Reading MPEG Layer III frame headers straight from a file's bytes, for the measuring fast paths
// that must prove what a file holds before they may skip decoding it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/engine/file_reader.h"

namespace tunekist {

struct FrameHeader {
    int version = 0;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int sampleRate = 0;
    bool mono = false;
    int bytes = 0;  // the whole frame, header included
    // Sample frames one such frame decodes to: 1152 for MPEG-1, 576 for MPEG-2 and 2.5.
    int SamplesPerFrame() const { return version == 3 ? 1152 : 576; }
    // True when `other` may follow this frame in one stream without libmpg123 seeing a new format.
    bool SameStreamAs(const FrameHeader& other) const {
        return version == other.version && sampleRate == other.sampleRate && mono == other.mono;
    }
};

// Parses the four bytes at `p` as a Layer III frame header. Free-format, reserved and otherwise
// invalid values give nothing.
std::optional<FrameHeader> ParseLayer3Header(const unsigned char* p);

// The sizes a frame in one stream with `first` can have: it differs from `first` only in its bit
// rate and padding.
std::vector<int> FrameSizesLike(const FrameHeader& first);

// The frames of one stream as a walk meets them, millions in a long folder: each header is
// checked against the stream's first with a few masks, and its frame's size is looked up in a
// table made once, instead of parsing every header whole. Gives exactly what ParseLayer3Header
// and SameStreamAs would.
class StreamFrames {
public:
    // `first` points at the stream's first header; one ParseLayer3Header refuses throws
    // std::bad_optional_access.
    explicit StreamFrames(const unsigned char* first);
    // The size of the frame whose header is at `p`, when it is a Layer III header that may follow
    // the first in one stream; nothing otherwise.
    std::optional<int> FrameBytes(const unsigned char* p) const;

private:
    unsigned char versionAndLayer_;  // the first's second byte, its protection bit cleared
    unsigned char rateBits_;         // the sample-rate bits of the first's third byte
    bool mono_;
    // By bitrate index and padding bit; 0 for free format and the forbidden index.
    std::array<std::array<int, 2>, 16> sizes_{};
};

// True when the frame's `bytes` bytes hold anything a tag reader or libmpg123 could take for a
// Xing, Info, VBRI or LAME tag.
bool FrameCarriesTag(const unsigned char* frame, std::size_t bytes);

// Where the first frame starts: after one ID3v2 tag at the file's start, if there is one.
std::int64_t StreamStart(const FileReader& reader);
// The same, told from the file's first ten bytes.
std::int64_t StreamStart(const unsigned char* firstTenBytes);

}  // namespace tunekist
