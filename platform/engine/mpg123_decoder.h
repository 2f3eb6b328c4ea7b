#pragma once
// One MPEG audio stream decoded by libmpg123 from a FileReader. The decoder is quiet (libmpg123
// never writes to the terminal), gapless (a LAME tag's encoder delay and padding are removed) and
// always yields interleaved stereo signed 16-bit samples (libmpg123's fastest synthesis, and what
// the audio device takes unconverted), so a stream whose channel count changes midway still plays.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/engine/file_reader.h"

struct mpg123_handle_struct;

namespace tunekist {

// One decoded sample of one channel.
using Sample = std::int16_t;

class Mpg123Decoder {
public:
    static constexpr int kChannels = 2;

    // Opens the file at `path` and reads up to its first audio frame. Throws EngineError for a
    // file that cannot be opened or holds no MPEG audio frame.
    explicit Mpg123Decoder(const std::string& path);
    ~Mpg123Decoder();
    Mpg123Decoder(const Mpg123Decoder&) = delete;
    Mpg123Decoder& operator=(const Mpg123Decoder&) = delete;

    // Sample frames per second of the stream's first frame.
    long SampleRate() const { return rate_; }
    const FileIdentity& Identity() const { return reader_.Identity(); }

    // The exact number of sample frames a full decode yields: taken from the LAME tag when the
    // file proves the tag covers the whole stream, counted from the frame headers of a provably
    // plain untagged stream, else found as ScanLength does.
    std::int64_t MeasureLength();
    // The exact number of sample frames a full decode yields, found by walking every frame
    // header (no decoding). Moves the read position back to the start.
    std::int64_t ScanLength();
    // The number of sample frames a full decode yields, by decoding everything. Slow; moves the
    // read position back to the start.
    std::int64_t DecodeLength();

    // Decodes up to out.size() / kChannels sample frames into `out`; returns the frames written,
    // 0 at the end of the stream (a damaged stream ends where it can no longer be read).
    std::size_t Read(std::span<Sample> out);
    // Moves decoding to sample frame `frame` (gapless count from the start). Throws EngineError.
    void Seek(std::int64_t frame);

private:
    struct HandleDeleter {
        void operator()(mpg123_handle_struct* handle) const;
    };
    FileReader reader_;
    std::unique_ptr<mpg123_handle_struct, HandleDeleter> handle_;
    long rate_ = 0;
    bool ended_ = false;
};

}  // namespace tunekist
