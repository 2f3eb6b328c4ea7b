#include "platform/engine/playback_pipeline.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace tunekist {

namespace {

constexpr std::size_t kBlockFrames = 1152;

// About 200 ms of stereo samples, and never less than a few device periods.
std::size_t RingFloats(long sampleRate) {
    return static_cast<std::size_t>(std::max<long>(sampleRate / 5, 8192)) * Mpg123Decoder::kChannels;
}

}  // namespace

PlaybackPipeline::PlaybackPipeline(const std::string& path, Measurement length,
                                   std::int64_t startFrame, float gain)
    : decoder_(path),
      length_(length),
      ring_(RingFloats(length.sampleRate)),
      gain_(gain),
      startFrame_(startFrame),
      decodedFrames_(startFrame),
      output_(static_cast<int>(length.sampleRate), [this](std::span<float> out) { Pull(out); }) {
    if (startFrame != 0) decoder_.Seek(startFrame);
    thread_ = std::jthread([this](const std::stop_token& stop) { DecodeLoop(stop); });
}

PlaybackPipeline::~PlaybackPipeline() {
    thread_.request_stop();
    wake_.notify_all();
}

void PlaybackPipeline::Play() { output_.Play(); }

void PlaybackPipeline::Pause() { output_.Pause(); }

std::int64_t PlaybackPipeline::PositionFrames() const {
    // A file that yields fewer frames than measured (it changed since) still ends at the length.
    if (decodeDone_.load() && ring_.Available() == 0) return length_.frames;
    return std::min(startFrame_.load() + consumedFrames_.load(), length_.frames);
}

void PlaybackPipeline::SeekFrames(std::int64_t frame) {
    {
        const std::lock_guard lock(decoderMutex_);
        decoder_.Seek(frame);
        output_.WhileHeld([&] {
            ring_.Clear();
            startFrame_.store(frame);
            consumedFrames_.store(0);
        });
        decodedFrames_ = frame;
        decodeDone_.store(false);
    }
    wake_.notify_all();
}

void PlaybackPipeline::DecodeLoop(const std::stop_token& stop) {
    std::vector<float> block(kBlockFrames * Mpg123Decoder::kChannels);
    std::unique_lock lock(decoderMutex_);
    while (!stop.stop_requested()) {
        if (decodeDone_.load() || ring_.Free() < block.size()) {
            // The callback frees room without signalling; looking again every few ms suffices.
            wake_.wait_for(lock, stop, std::chrono::milliseconds(5), [] { return false; });
            continue;
        }
        const auto wanted = static_cast<std::size_t>(
            std::clamp<std::int64_t>(length_.frames - decodedFrames_, 0, kBlockFrames));
        const std::size_t frames =
            wanted == 0 ? 0 : decoder_.Read({block.data(), wanted * Mpg123Decoder::kChannels});
        if (frames == 0) {
            decodeDone_.store(true);
            continue;
        }
        ring_.Push({block.data(), frames * Mpg123Decoder::kChannels});
        decodedFrames_ += static_cast<std::int64_t>(frames);
    }
}

void PlaybackPipeline::Pull(std::span<float> out) {
    const std::size_t taken = ring_.Pop(out);
    const float gain = gain_.load();
    for (std::size_t i = 0; i < taken; ++i) out[i] *= gain;
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(taken), out.end(), 0.0f);
    consumedFrames_.fetch_add(static_cast<std::int64_t>(taken / Mpg123Decoder::kChannels));
}

}  // namespace tunekist
