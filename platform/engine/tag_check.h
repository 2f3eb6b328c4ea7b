#pragma once
// Proof that a file's Xing/Info tag tells the truth about its Layer III stream, so that its
// promised length can be used without walking every frame. The tag's byte count must end exactly
// where the tags after the audio begin (FileTail) and where a frame consistent with the first one
// ends. A file cut short, one whose tag was copied from elsewhere, or one whose trailing tags lie
// about their size fails the proof and is measured frame by frame.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/engine/file_reader.h"

namespace tunekist {

// The bytes the tag check reads at once where a song starts, and again where its ID3v2 tag ends:
// enough for the first frame, the longest of which is 1,441 bytes, and the header of the one after.
constexpr std::size_t kStreamHeadBytes = 2048;

// True when the tag at the start of the stream provably covers the whole stream.
bool TagCoversWholeStream(const FileReader& reader);

struct TaggedLength {
    long sampleRate = 0;
    std::int64_t frames = 0;  // sample frames of a gapless decode
};

// The length that libmpg123's gapless decoding yields, read from the tag as libmpg123 reads it
// (frame count, then the LAME extension's encoder delay and padding), without opening a decoder.
// Given only when the tag covers the whole stream (TagCoversWholeStream) and carries the delay and
// padding, and the result is not negative; otherwise the file is the decoder's to measure.
std::optional<TaggedLength> LameTagLength(const FileReader& reader);

}  // namespace tunekist
