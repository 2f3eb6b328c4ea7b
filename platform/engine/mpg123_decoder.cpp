#include "platform/engine/mpg123_decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/engine/plain_stream.h"
#include "platform/engine/tag_check.h"
#include "playback/media_engine.h"

namespace tunekist {

namespace {

ssize_t ReadCallback(void* reader, void* target, size_t bytes) {
    return static_cast<FileReader*>(reader)->Read(target, bytes);
}

off_t SeekCallback(void* reader, off_t offset, int whence) {
    return static_cast<FileReader*>(reader)->Seek(offset, whence);
}

// mpg123_init is needed once per process before the first handle (a no-op in newer releases).
void InitialiseLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

// The Layer III synthesis delay that libmpg123 adds to a LAME tag's encoder delay and padding.
constexpr std::int64_t kDecoderDelay = 529;

// Frames decoded ahead of a seek target. A Layer III frame may take its data from up to 511 bytes
// of earlier frames; at low bit rates that reaches back many frames, and fewer than this left
// the first samples after a seek wrong.
constexpr long kSeekPreFrames = 16;
// Targets closer to the start than this are reached by decoding from the start.
constexpr std::int64_t kDecodeInsteadOfSeek = kSeekPreFrames * 1152;

void Check(int result, const char* what) {
    if (result != MPG123_OK) throw EngineError(what);
}

}  // namespace

void Mpg123Decoder::HandleDeleter::operator()(mpg123_handle_struct* handle) const {
    mpg123_close(handle);
    mpg123_delete(handle);
}

Mpg123Decoder::Mpg123Decoder(const std::string& path) : reader_(path) {
    InitialiseLibraryOnce();
    int error = MPG123_OK;
    handle_.reset(mpg123_new(nullptr, &error));
    if (!handle_) throw EngineError("Decoder niet beschikbaar");
    mpg123_handle* mh = handle_.get();
    Check(mpg123_param(mh, MPG123_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_FORCE_STEREO, 0),
          "Decoder niet beschikbaar");
    Check(mpg123_param(mh, MPG123_PREFRAMES, kSeekPreFrames, 0), "Decoder niet beschikbaar");
    // Every rate is accepted so that a stream changing its rate midway is neither resampled nor cut.
    Check(mpg123_format_none(mh), "Decoder niet beschikbaar");
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i) {
        Check(mpg123_format(mh, rates[i], MPG123_STEREO, MPG123_ENC_SIGNED_16), "Decoder niet beschikbaar");
    }
    Check(mpg123_replace_reader_handle(mh, ReadCallback, SeekCallback, nullptr), "Decoder niet beschikbaar");
    Check(mpg123_open_handle(mh, &reader_), "Bestand niet te openen");
    // Opening succeeds on anything; only finding a frame shows that the file holds MPEG audio.
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(mh, &rate_, &channels, &encoding) != MPG123_OK || rate_ <= 0) {
        throw EngineError("Geen MP3-geluid in het bestand");
    }
}

Mpg123Decoder::~Mpg123Decoder() = default;

std::int64_t Mpg123Decoder::MeasureLength() {
    long delay = -1;
    mpg123_getstate(handle_.get(), MPG123_ENC_DELAY, &delay, nullptr);
    if (delay >= 0 && TagCoversWholeStream(reader_)) {
        const off_t promised = mpg123_length(handle_.get());
        if (promised >= 0) return promised;
    }
    // Without a LAME tag nothing is trimmed, so a plain stream lasts its frames times their samples.
    if (delay < 0) {
        if (const auto plain = PlainStreamLength(reader_)) return *plain;
    }
    return ScanLength();
}

std::int64_t Mpg123Decoder::ScanLength() {
    mpg123_handle* mh = handle_.get();
    // The LAME tag's promise, read before the scan replaces it with the real frame count.
    long delay = -1;
    long padding = -1;
    mpg123_getstate(mh, MPG123_ENC_DELAY, &delay, nullptr);
    mpg123_getstate(mh, MPG123_ENC_PADDING, &padding, nullptr);
    const off_t promisedFrames = mpg123_framelength(mh);
    mpg123_frameinfo2 info{};
    mpg123_info2(mh, &info);
    const std::int64_t samplesPerFrame = mpg123_spf(mh);
    if (mpg123_scan(mh) != MPG123_OK) throw EngineError("Bestand niet te lezen");
    std::int64_t length = mpg123_length(mh);
    const bool gapless = delay >= 0 && padding >= 0 && info.layer == 3;
    if (gapless && mpg123_framelength(mh) < promisedFrames) {
        // A file cut short of what its tag promises: libmpg123 then counts every decoded sample,
        // but playing it still skips the encoder delay at the start, and stops early only if the
        // promised end comes before the real one.
        const std::int64_t begin = delay + kDecoderDelay;
        const std::int64_t end = promisedFrames * samplesPerFrame - padding + kDecoderDelay;
        length = std::max<std::int64_t>(0, std::min(length, end) - begin);
    }
    Seek(0);
    return std::max<std::int64_t>(0, length);
}

std::int64_t Mpg123Decoder::DecodeLength() {
    Seek(0);
    std::vector<Sample> block(4096 * kChannels);
    std::int64_t total = 0;
    while (const std::size_t frames = Read(block)) total += static_cast<std::int64_t>(frames);
    Seek(0);
    return total;
}

std::size_t Mpg123Decoder::Read(std::span<Sample> out) {
    const std::size_t bytesWanted = (out.size() / kChannels) * kChannels * sizeof(Sample);
    auto* target = reinterpret_cast<unsigned char*>(out.data());
    std::size_t total = 0;
    while (!ended_ && total < bytesWanted) {
        std::size_t done = 0;
        const int result = mpg123_read(handle_.get(), target + total, bytesWanted - total, &done);
        total += done;
        // A new rate midway is played on at the first rate: the samples still count.
        if (result == MPG123_OK || result == MPG123_NEW_FORMAT) continue;
        ended_ = true;  // MPG123_DONE, or an error: what could be decoded is all there is
    }
    return total / (kChannels * sizeof(Sample));
}

void Mpg123Decoder::Seek(std::int64_t frame) {
    // Near the start libmpg123 cannot always rebuild the decoder's history exactly, so the
    // first stretch is decoded from the start and thrown away.
    const std::int64_t jumpTo = frame < kDecodeInsteadOfSeek ? 0 : frame;
    if (mpg123_seek(handle_.get(), static_cast<off_t>(jumpTo), SEEK_SET) < 0) {
        throw EngineError("Kan niet naar die plek in de song");
    }
    ended_ = false;
    std::vector<Sample> discard(4096 * kChannels);
    for (std::int64_t left = frame - jumpTo; left > 0;) {
        const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(left, 4096));
        const std::size_t got = Read({discard.data(), chunk * kChannels});
        if (got == 0) break;
        left -= static_cast<std::int64_t>(got);
    }
}

}  // namespace tunekist
