#pragma once
// The exact length of a plain Layer III stream, found by walking its frame headers in large reads
// instead of handing every frame to libmpg123: the fast path for files without a Xing, Info or
// VBRI tag (VBR files written with the tag turned off, most CBR files). The walk vouches for a
// length only where it can prove that decoding yields every frame whole; any doubt gives nothing,
// and the caller measures with libmpg123's own scan.

#include <cstdint>
#include <optional>

#include "platform/engine/file_reader.h"

namespace tunekist {

// The sample frames a full decode of the file yields, when the file is one plain stream: frames
// of one version, rate and channel count following each other without a gap from the stream's
// start (after one ID3v2 tag) to where the tags after the audio begin (FileTail), the last frame whole,
// the first frame carrying no Xing, Info, VBRI or LAME tag, and enough frames that libmpg123
// keeps them all. Nothing for any other file.
std::optional<std::int64_t> PlainStreamLength(const FileReader& reader);

}  // namespace tunekist
