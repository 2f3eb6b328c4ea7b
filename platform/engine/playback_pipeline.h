#pragma once
// What plays one file: a decoder on its own thread running up to a second ahead into a ring that
// the audio device's callback drains, as one source of the process's shared sound output. The
// position counts the sample frames the callback has handed to the device, so it follows the
// sound, stands still while paused, and ends exactly at the measured length. The volume is applied in the callback, so
// a change is heard within one device period.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "platform/engine/duration_cache.h"
#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/sample_gain.h"
#include "platform/engine/sample_ring.h"
#include "platform/engine/shared_audio_output.h"

namespace tunekist {

class PlaybackPipeline {
public:
    // Opens the file and attaches to the sound output (paused), ready to play from `startFrame`.
    // `length` is the file's measurement; playing never yields more frames than it holds. Throws
    // EngineError when the file cannot be opened.
    PlaybackPipeline(const std::string& path, Measurement length, std::int64_t startFrame, float gain);
    ~PlaybackPipeline();
    PlaybackPipeline(const PlaybackPipeline&) = delete;
    PlaybackPipeline& operator=(const PlaybackPipeline&) = delete;

    // Play throws NoSoundOutputError when no audio device can be opened. While paused, neither the
    // device nor the decoder's thread wakes for this song.
    void Play();
    void Pause();
    // Sample frames from the file's start handed to the device so far; the whole length once
    // everything was played.
    std::int64_t PositionFrames() const;
    // Continues playing at `frame` (0 ... length), sample-accurately. Throws EngineError.
    void SeekFrames(std::int64_t frame);
    // Amplitude factor (0 ... 1) applied from the next device period on.
    void SetGain(float gain) { gainQ15_.store(GainToQ15(gain)); }
    bool DeviceLost() const { return output_.Lost(); }

private:
    void DecodeLoop(const std::stop_token& stop);
    void Pull(std::span<Sample> out);
    // Wakes the callback, which waits for samples, once a batch of them is there.
    void SignalData();
    // The free room, in samples, for which the decoder waits once the ring is full.
    std::size_t Refill() const;
    // Wakes the decoder to look at the ring again.
    void Wake();

    Mpg123Decoder decoder_;
    const Measurement length_;
    SampleRing ring_;
    std::atomic<std::int32_t> gainQ15_;
    std::atomic<std::int64_t> startFrame_;         // file frame of the ring's first sample
    std::atomic<std::int64_t> consumedFrames_{0};  // frames the callback took since then
    std::atomic<bool> decodeDone_{false};
    std::mutex decoderMutex_;  // held by whoever uses the decoder
    std::mutex wakeMutex_;     // held by the decoder only while it looks at the ring before sleeping
    std::condition_variable_any wake_;
    std::mutex dataMutex_;  // only for the callback's wait for samples
    std::condition_variable dataReady_;
    std::int64_t decodedFrames_;  // file frame the decoder reaches next
    SharedAudioOutput::Attachment output_;
    std::jthread thread_;  // last: stops first, before the source detaches and the ring goes
};

}  // namespace tunekist
