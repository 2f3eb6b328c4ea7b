#pragma once
// Reading MPEG Layer III frame headers straight from a file's bytes, for the measuring fast paths
// that must prove what a file holds before they may skip decoding it.

#include <cstddef>
#include <cstdint>
#include <optional>

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

// True when the frame's `bytes` bytes hold anything a tag reader or libmpg123 could take for a
// Xing, Info, VBRI or LAME tag.
bool FrameCarriesTag(const unsigned char* frame, std::size_t bytes);

// Where the first frame starts: after one ID3v2 tag at the file's start, if there is one.
std::int64_t StreamStart(const FileReader& reader);

}  // namespace tunekist
