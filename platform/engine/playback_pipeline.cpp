#include "platform/engine/playback_pipeline.h"

#include <algorithm>
#include <chrono>

namespace tunekist {

namespace {

constexpr std::size_t kBlockFrames = 1152;

// How long the device's callback waits for the decoder before it plays silence. Far shorter than
// a device period, so a real device never underruns for it; an output that plays faster than real
// time (SDL's disk driver) is paced by the decoder instead of spinning on silence.
constexpr std::chrono::milliseconds kUnderrunWait{10};

// About a second of stereo samples, and never less than a few device periods: the decoder refills
// half of it at a time, so it wakes about once per half second of sound (every wake-up is a pair
// of system calls).
std::size_t RingSamples(long sampleRate) {
    return static_cast<std::size_t>(std::max<long>(sampleRate, 8192)) * Mpg123Decoder::kChannels;
}

}  // namespace

PlaybackPipeline::PlaybackPipeline(const std::string& path, Measurement length, std::int64_t startFrame, float gain)
    : decoder_(path),
      length_(length),
      ring_(RingSamples(length.sampleRate)),
      gainQ15_(GainToQ15(gain)),
      startFrame_(startFrame),
      decodedFrames_(startFrame),
      output_(SharedAudioOutput::Instance().Attach(static_cast<int>(length.sampleRate),
                                                   [this](std::span<Sample> out) { Pull(out); })) {
    if (startFrame != 0) decoder_.Seek(startFrame);
    thread_ = std::jthread([this](const std::stop_token& stop) { DecodeLoop(stop); });
}

PlaybackPipeline::~PlaybackPipeline() {
    thread_.request_stop();
    Wake();
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
    Wake();
}

void PlaybackPipeline::Wake() {
    // Taking the lock orders this signal after the decoder's look at the ring, so none is lost.
    { const std::lock_guard lock(wakeMutex_); }
    wake_.notify_all();
}

void PlaybackPipeline::DecodeLoop(const std::stop_token& stop) {
    constexpr std::size_t kBlockSamples = kBlockFrames * Mpg123Decoder::kChannels;
    bool filling = true;
    while (!stop.stop_requested()) {
        {
            // No timer: an ended, paused or stopped song's decoder sleeps until a seek or the end
            // of the pipeline, a playing one until the device has taken a batch.
            std::unique_lock lock(wakeMutex_);
            wake_.wait(lock, stop,
                       [&] { return !decodeDone_.load() && ring_.Free() >= (filling ? kBlockSamples : Refill()); });
        }
        const std::lock_guard lock(decoderMutex_);
        if (stop.stop_requested() || decodeDone_.load() || ring_.Free() < kBlockSamples) {
            filling = false;
            continue;
        }
        filling = true;
        // Decoded straight into the ring, up to its end or to the measured length.
        const std::span<Sample> room = ring_.Room();
        const auto wanted = static_cast<std::size_t>(std::clamp<std::int64_t>(
            length_.frames - decodedFrames_, 0, static_cast<std::int64_t>(room.size() / Mpg123Decoder::kChannels)));
        const std::size_t frames = wanted == 0 ? 0 : decoder_.Read(room.first(wanted * Mpg123Decoder::kChannels));
        if (frames == 0) {
            decodeDone_.store(true);
            SignalData();
            continue;
        }
        ring_.Commit(frames * Mpg123Decoder::kChannels);
        decodedFrames_ += static_cast<std::int64_t>(frames);
        SignalData();
    }
    SignalData();
}

std::size_t PlaybackPipeline::Refill() const {
    // Each side works in batches of half the ring, so the two threads wake each other seldom.
    return std::max(ring_.Capacity() / 2, kBlockFrames * Mpg123Decoder::kChannels);
}

void PlaybackPipeline::SignalData() {
    if (!decodeDone_.load() && ring_.Available() < Refill()) return;
    // Taking the lock orders this signal after the callback's look at the ring, so none is lost.
    { const std::lock_guard lock(dataMutex_); }
    dataReady_.notify_one();
}

void PlaybackPipeline::Pull(std::span<Sample> out) {
    {
        std::unique_lock lock(dataMutex_);
        dataReady_.wait_for(lock, kUnderrunWait, [&] { return ring_.Available() >= out.size() || decodeDone_.load(); });
    }
    const std::size_t taken = ring_.Pop(out);
    // The decoder sleeps until half the ring is free. (Its wake lock is never held while a seek
    // holds this callback still, so taking it here cannot deadlock.)
    if (taken > 0 && ring_.Free() >= Refill()) Wake();
    ApplyGain(out.first(taken), gainQ15_.load());
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(taken), out.end(), Sample{0});
    consumedFrames_.fetch_add(static_cast<std::int64_t>(taken / Mpg123Decoder::kChannels));
}

}  // namespace tunekist
