#pragma once
// The tags that taggers append after a song's audio, and so where its audio ends: an ID3v1 tag
// last of all; before it, in any order, an APEv2 tag (with or without its header, versions 1 and
// 2, as ReplayGain tools write it), a Lyrics3 tag (version 2, or version 1 just before the ID3v1
// tag) and an ID3v2 tag with a footer, each of them possibly more than once. Each tag is recognised from its own size
// fields, and every one of them must agree with the tag's other marks and with the file: a tag whose sizes do not add
// up makes the end unknown, and the song is then measured the slow way, never given a wrong length.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/engine/file_reader.h"

namespace tunekist {

class FileTail {
public:
    // Reads the file's last bytes (a few KiB, more when a tag there is longer) and finds where its
    // audio ends.
    explicit FileTail(const FileReader& reader);

    // The offset where the audio must end: the file's size less every tag after the audio.
    // Nothing when the tail cannot be read, or holds a tag whose sizes lie, or holds text that
    // libmpg123 would walk through byte by byte and that could pass for a frame header.
    std::optional<std::int64_t> AudioEnd() const { return audioEnd_; }

    // The `count` bytes that end at `end`, read when they are not yet held; nullptr when they
    // cannot be read or lie too far from the file's end to be held (more than a few MiB).
    const unsigned char* BytesBefore(std::int64_t end, std::size_t count);

private:
    std::optional<std::int64_t> FindAudioEnd();
    std::optional<std::int64_t> ApeTagStart(std::int64_t end, bool& walkedThrough);
    std::optional<std::int64_t> Lyrics3v2Start(std::int64_t end);
    std::optional<std::int64_t> Lyrics3v1Start(std::int64_t end);
    std::optional<std::int64_t> Id3v2FooterTagStart(std::int64_t end);
    bool HoldsFrameSync(std::int64_t from, std::int64_t to);

    const FileReader& reader_;
    std::int64_t size_;
    std::int64_t from_;                 // the file offset of bytes_[0]
    std::vector<unsigned char> bytes_;  // the file's bytes from from_ to its end
    std::optional<std::int64_t> audioEnd_;
};

}  // namespace tunekist
