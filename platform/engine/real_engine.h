#pragma once
// The media engine of the shipped program: libmpg123 decodes, SDL2 plays.
//
// RenderFile only measures the file (through the process-wide DurationCache) and opens no audio
// device; the decoder is opened and the song joins the process's sound output (SharedAudioOutput,
// which closes its device once no song plays) at the first Run, so measuring a folder of songs costs no
// more than reading their frames, and releasing an engine never waits for a device. Stop, like
// Pause, keeps the position: a later Run resumes there. Run fails with NoSoundOutputError when no
// audio device can be opened. When SDL gives up on the device while a song runs, GetState and
// get_CurrentPosition fail with "Geluidsapparaat weggevallen" instead of reporting a position that no
// longer moves.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/engine/duration_cache.h"
#include "playback/media_engine.h"

namespace tunekist {

class PlaybackPipeline;

class RealEngine : public MediaEngine {
public:
    RealEngine();
    ~RealEngine() override;
    RealEngine(const RealEngine&) = delete;
    RealEngine& operator=(const RealEngine&) = delete;

    void RenderFile(const std::string& path) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    std::int32_t GetState(std::int32_t timeoutMs) override;
    double get_Duration() override;
    double get_CurrentPosition() override;
    void put_CurrentPosition(double seconds) override;
    void put_Volume(std::int32_t level) override;

private:
    void ThrowIfDeviceLost() const;

    std::string path_;
    std::optional<Measurement> length_;
    std::int32_t state_ = StateStopped;
    std::int32_t level_ = 0;
    std::int64_t pendingFrame_ = 0;  // where playing starts once the pipeline exists
    std::unique_ptr<PlaybackPipeline> pipeline_;
};

// A factory making RealEngine instances.
EngineFactory MakeRealEngineFactory();

}  // namespace tunekist
